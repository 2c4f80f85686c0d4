// GIF decoding speed: the program's decoder against giflib and Qt's own GIF
// reader, on the program's pictures and on two large pictures made here.
// Output is counted as one byte per pixel for all three, so the figures
// compare like with like; our ratio to giflib should be at least 1.

#include "benchstats.h"
#include "common/dibpixels.h"
#include "common/gifencoder.h"
#include "images/gifdecoder.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>

#include <gif_lib.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

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

std::vector<Picture> programPictures()
{
    std::vector<Picture> pictures;
    const std::filesystem::path folder = std::filesystem::path(PALCOMIR_SOURCE_DIR) / "resources" / "pictures";
    std::error_code error;
    const std::regex gifName("gif[0-9]+\\.gif");
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

template<typename Decode> double timeOnce(Decode decode, std::size_t &pixels)
{
    const auto start = std::chrono::steady_clock::now();
    pixels = decode();
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(stop - start).count();
}

} // namespace

int main(int argc, char **argv)
{
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

    std::printf("%-20s %11s %7s %12s %12s %12s %8s\n", "picture", "size", "file kB", "ours MB/s", "giflib MB/s",
        "Qt MB/s", "ratio");
    bool met = true;
    for (const Picture &picture : pictures) {
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
        const bool ok = complete && ratio >= 1.0;
        met = met && ok;
        const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
        std::printf("%-20s %11s %7.0f %12.0f %12.0f %12.0f %7.2fx  %s\n", picture.name.c_str(), size.c_str(),
            double(picture.file.size()) / 1024, oursRate, giflibRate, qtRate, ratio,
            !complete ? "DECODED WRONG"
                : ok  ? "MET"
                      : "MISSED");
    }
    std::printf("target: ours / giflib >= 1.0 for every picture (median of the rounds, MB = one byte per pixel)\n");
    return met ? 0 : 1;
}
