// GIF decoding speed: the program's decoder against giflib and Qt's own GIF
// reader, on the program's pictures, on large pictures made here and on
// photo-like pictures that ImageMagick makes at run time (plasma fractals
// reduced to 256 and 16 colours), which compress poorly and give short LZW
// strings. Output is counted as one byte per pixel for all three, so the
// figures compare like with like.
//
// Two figures for each picture: warm, the median of many decodes in this
// process, and fresh, one decode in a new process each time (this program
// started again with --decode-once), as when the program shows a picture
// for the first time: its memory is new to the process and nothing is in
// the caches. Times are the CPU time of the decoding thread, which on an
// idle machine is its wall time and which other programs on a busy machine
// do not stretch. Our ratio to giflib should be at least 1 in both.

#include "benchstats.h"
#include "common/dibpixels.h"
#include "common/gifencoder.h"
#include "images/gifdecoder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <regex>
#include <string>

#include <gif_lib.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
    std::string name;
    Bytes file;
    int width = 0;
    int height = 0;
};

// A screenful of what pictures hold: smooth gradients, lines of small dark
// marks like text on a light ground, and flat areas with a few shapes.
Bytes makeContent(int width, int height, int colours)
{
    std::mt19937 random(2049);
    Bytes pixels(std::size_t(width) * std::size_t(height));
    const int textColour = 1;
    const int ground = colours - 1;
    for (int ty = 0; ty < height; ty += 256) {
        for (int tx = 0; tx < width; tx += 256) {
            const int kind = (tx / 256 + ty / 256) % 3;
            const int flat = 2 + int(random() % unsigned(colours - 3));
            for (int y = ty; y < std::min(height, ty + 256); ++y) {
                std::uint8_t *row = pixels.data() + std::size_t(y) * std::size_t(width);
                for (int x = tx; x < std::min(width, tx + 256); ++x) {
                    int v;
                    if (kind == 0) {
                        // A diagonal gradient over the palette, dithered a little.
                        v = ((x - tx) + (y - ty)) * (colours - 1) / 510 + int(random() % 3) - 1;
                    } else if (kind == 1) {
                        // Lines of text: 12 rows of marks, 4 rows of space.
                        const bool inLine = (y - ty) % 16 < 12;
                        v = inLine && random() % 5 == 0 ? textColour : ground;
                    } else {
                        const int cx = x - tx - 128;
                        const int cy = y - ty - 128;
                        v = cx * cx + cy * cy < 70 * 70 ? flat : (x - tx) / 64 % 2 ? ground : flat / 2;
                    }
                    row[x] = static_cast<std::uint8_t>(std::clamp(v, 0, colours - 1));
                }
            }
        }
    }
    return pixels;
}

Picture madePicture(const char *name, int width, int height, int colours)
{
    GifOptions options;
    options.colours.resize(std::size_t(colours));
    for (int i = 0; i < colours; ++i)
        options.colours[std::size_t(i)] = { std::uint8_t(i * 255 / (colours - 1)), std::uint8_t(i * 7),
            std::uint8_t(255 - i * 255 / (colours - 1)) };
    return { name, encodeGif(width, height, makeContent(width, height, colours), options), width, height };
}

// A plasma fractal of ImageMagick reduced to `colours` colours, made in
// folder: a photo-like picture. Nothing when ImageMagick's convert is not
// installed (make bench installs it).
std::optional<Picture> plasmaPicture(const QString &folder, int width, int height, int colours)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        return std::nullopt;
    const QString path = QDir(folder).filePath(QStringLiteral("plasma%1.gif").arg(colours));
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    if (QProcess::execute(convert,
            { QStringLiteral("-seed"), QStringLiteral("2049"), QStringLiteral("-size"), size,
                QStringLiteral("plasma:fractal"), QStringLiteral("-colors"), QString::number(colours), path })
        != 0)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const std::string name = "plasma, " + std::to_string(colours) + " colours";
    return Picture { name, Bytes(bytes.begin(), bytes.end()), width, height };
}

std::vector<Picture> programPictures()
{
    std::vector<Picture> pictures;
    const std::filesystem::path folder = std::filesystem::path(PALCOMIR_SOURCE_DIR) / "resources" / "pictures";
    std::error_code error;
    const std::regex gifName("gif[0-9]+(@2x)?\\.gif");
    for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!std::regex_match(name, gifName))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        Picture picture { name, Bytes(std::istreambuf_iterator<char>(in), {}), 0, 0 };
        if (const auto dib = decodeGif(picture.file)) {
            picture.width = dib->width();
            picture.height = dib->height();
            pictures.push_back(std::move(picture));
        }
    }
    std::sort(pictures.begin(), pictures.end(), [](const Picture &a, const Picture &b) { return a.name < b.name; });
    return pictures;
}

struct MemoryInput {
    const Bytes *file;
    std::size_t pos;
};

int readMemory(GifFileType *gif, GifByteType *into, int wanted)
{
    auto *input = static_cast<MemoryInput *>(gif->UserData);
    const std::size_t n = std::min(std::size_t(wanted), input->file->size() - input->pos);
    std::memcpy(into, input->file->data() + input->pos, n);
    input->pos += n;
    return int(n);
}

// The first image through giflib's line reader, into a buffer of one byte per
// pixel; returns how many pixels it decoded.
std::size_t decodeWithGiflib(const Bytes &file, Bytes *into = nullptr)
{
    MemoryInput input { &file, 0 };
    int error = 0;
    GifFileType *gif = DGifOpen(&input, readMemory, &error);
    if (!gif)
        return 0;
    std::size_t decoded = 0;
    GifRecordType record;
    while (decoded == 0 && DGifGetRecordType(gif, &record) == GIF_OK && record != TERMINATE_RECORD_TYPE) {
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) != GIF_OK)
                break;
            const int width = gif->Image.Width;
            const int height = gif->Image.Height;
            Bytes pixels(std::size_t(width) * std::size_t(height));
            int y = 0;
            while (y < height && DGifGetLine(gif, pixels.data() + std::size_t(y) * std::size_t(width), width) == GIF_OK)
                ++y;
            decoded = std::size_t(y) * std::size_t(width);
            if (into)
                *into = std::move(pixels);
        } else if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK)
                break;
            while (block && DGifGetExtensionNext(gif, &block) == GIF_OK) { }
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

std::size_t decodeWithQt(const QByteArray &file)
{
    const QImage image = QImage::fromData(file, "GIF");
    return std::size_t(image.width()) * std::size_t(image.height());
}

std::size_t decodeWithOurs(const Bytes &file)
{
    const auto dib = decodeGif(file);
    return dib ? std::size_t(dib->width()) * std::size_t(dib->height()) : 0;
}

// Whether our picture holds the pixels giflib decodes (modulo the depth).
bool sameAsGiflib(const Bytes &file)
{
    Bytes reference;
    const auto dib = decodeGif(file);
    if (!dib || decodeWithGiflib(file, &reference) != std::size_t(dib->width()) * std::size_t(dib->height()))
        return false;
    const std::vector<std::uint8_t> ours = dibPixels(*dib);
    const int mask = (1 << dib->bitsPerPixel()) - 1;
    for (std::size_t i = 0; i < ours.size(); ++i)
        if (ours[i] != (reference[i] & mask))
            return false;
    return true;
}

// Median MB of pixels per second over the samples.
double megabytesPerSecond(std::size_t pixels, std::vector<double> seconds)
{
    const double median = percentiles(std::move(seconds)).median;
    return median > 0 ? double(pixels) / median / 1e6 : 0;
}

double threadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template<typename Decode> double timeOnce(Decode decode, std::size_t &pixels)
{
    const double start = threadSeconds();
    pixels = decode();
    return threadSeconds() - start;
}

// In a process of its own: decodes the file once with one decoder and
// prints the seconds it took, or nothing when the picture did not decode.
int decodeOnce(const char *decoder, const char *path)
{
    std::FILE *in = std::fopen(path, "rb");
    if (!in)
        return 1;
    Bytes file;
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        file.insert(file.end(), chunk, chunk + n);
    std::fclose(in);
    const bool ours = std::strcmp(decoder, "ours") == 0;
    std::size_t pixels = 0;
    const double seconds = timeOnce([&] { return ours ? decodeWithOurs(file) : decodeWithGiflib(file); }, pixels);
    if (pixels == 0)
        return 1;
    std::printf("%.9f\n", seconds);
    return 0;
}

// The median seconds of one decode in a fresh process, each decoder in turn
// so that both meet the same state of the machine; 0 when one failed.
std::pair<double, double> freshSeconds(const QString &path, int rounds)
{
    std::vector<double> ours, giflib;
    for (int round = 0; round < rounds; ++round) {
        for (const char *decoder : { "ours", "giflib" }) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--decode-once"), QString::fromLatin1(decoder), path });
            if (!child.waitForFinished(60000) || child.exitCode() != 0)
                return { 0, 0 };
            (std::strcmp(decoder, "ours") == 0 ? ours : giflib).push_back(child.readAllStandardOutput().toDouble());
        }
    }
    return { percentiles(ours).median, percentiles(giflib).median };
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--decode-once") == 0)
        return decodeOnce(argv[2], argv[3]);
    QCoreApplication app(argc, argv);
    const bool haveQtGif = QImageReader::supportedImageFormats().contains("gif");
    if (!haveQtGif)
        std::printf("Qt has no GIF reader here (the qgif plugin is missing): its column stays empty\n");

    std::vector<Picture> pictures = programPictures();
    if (pictures.empty())
        std::printf("no resources/pictures/gif*.gif yet: only the made pictures\n");
    pictures.push_back(madePicture("made, 256 colours", 2049, 2000, 256));
    pictures.push_back(madePicture("made, 16 colours", 2049, 2000, 16));
    pictures.push_back(madePicture("made, screen size", 640, 480, 16));
    QTemporaryDir folder;
    for (const int colours : { 256, 16 }) {
        if (std::optional<Picture> plasma = plasmaPicture(folder.path(), 2049, 2000, colours))
            pictures.push_back(std::move(*plasma));
        else
            std::printf("ImageMagick's convert is missing or failed: no plasma picture of %d colours\n", colours);
    }

    std::printf("%-20s %11s %7s | %-38s | %s\n", "", "", "", "warm, median of many decodes",
        "fresh, one decode in a new process");
    std::printf("%-20s %11s %7s | %9s %9s %9s %7s | %9s %9s %7s\n", "picture", "size", "file kB", "ours MB/s", "giflib",
        "Qt", "ratio", "ours ms", "giflib ms", "ratio");
    bool met = true;
    for (std::size_t index = 0; index < pictures.size(); ++index) {
        const Picture &picture = pictures[index];
        const QByteArray qtFile(reinterpret_cast<const char *>(picture.file.data()), qsizetype(picture.file.size()));
        const std::size_t expected = std::size_t(picture.width) * std::size_t(picture.height);
        // Enough rounds for a steady median, about a second per picture at most.
        const int rounds = std::clamp(int(60e6 / double(std::max<std::size_t>(expected, 1))), 9, 201);
        std::vector<double> ours, giflib, qt;
        bool complete = sameAsGiflib(picture.file);
        for (int round = -1; round < rounds; ++round) {
            std::size_t a = 0, b = 0, c = expected;
            const double tOurs = timeOnce([&] { return decodeWithOurs(picture.file); }, a);
            const double tGiflib = timeOnce([&] { return decodeWithGiflib(picture.file); }, b);
            const double tQt = haveQtGif ? timeOnce([&] { return decodeWithQt(qtFile); }, c) : 0;
            complete = complete && a == expected && b == expected && c == expected;
            if (round < 0)
                continue; // warming up
            ours.push_back(tOurs);
            giflib.push_back(tGiflib);
            qt.push_back(tQt);
        }
        const double oursRate = megabytesPerSecond(expected, ours);
        const double giflibRate = megabytesPerSecond(expected, giflib);
        const double qtRate = haveQtGif ? megabytesPerSecond(expected, qt) : 0;
        const double ratio = giflibRate > 0 ? oursRate / giflibRate : 0;

        const QString path = folder.filePath(QStringLiteral("picture%1.gif").arg(index));
        QFile file(path);
        const bool written = file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(picture.file.data()), qint64(picture.file.size()))
                == qint64(picture.file.size());
        file.close();
        // Fewer processes for the large pictures, whose decodes vary less.
        const auto [freshOurs, freshGiflib]
            = written ? freshSeconds(path, expected > 1000000 ? 9 : 15) : std::pair(0.0, 0.0);
        const double freshRatio = freshOurs > 0 ? freshGiflib / freshOurs : 0;

        const bool ok = complete && ratio >= 1.0 && freshRatio >= 1.0;
        met = met && ok;
        const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
        std::printf("%-20s %11s %7.0f | %9.0f %9.0f %9.0f %6.2fx | %9.2f %9.2f %6.2fx  %s\n", picture.name.c_str(),
            size.c_str(), double(picture.file.size()) / 1024, oursRate, giflibRate, qtRate, ratio, freshOurs * 1e3,
            freshGiflib * 1e3, freshRatio,
            !complete ? "DECODED WRONG"
                : ok  ? "MET"
                      : "MISSED");
    }
    std::printf("target: ours / giflib >= 1.0 for every picture, warm and fresh (medians, MB = one byte per pixel,\n"
                "CPU time of the decoding thread)\n");
    return met ? 0 : 1;
}
