// Writes the fuzz targets' seed corpora: valid files made by the program's own
// writers or shipped with it, and the damaged variants the tests use.
//
//   fuzz_seeds OUTDIR LIBRARY PICTURES_DIR SOUNDS_DIR
#include "common/gifencoder.h"

#include "lessons/lessongroups.h"
#include "lessons/lessonlibrary.h"
#include "settings/inifile.h"
#include "settings/optionsprofile.h"
#include "students/tstudentlist.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path g_out;

void put(const std::string &target, const std::string &name, const std::string &bytes)
{
    const fs::path dir = g_out / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string slurp(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// A literal with its NUL bytes, without the terminator.
template<std::size_t N> std::string lit(const char (&text)[N])
{
    return std::string(text, N - 1);
}

std::string str(const std::vector<std::uint8_t> &bytes)
{
    return { bytes.begin(), bytes.end() };
}

std::string le(std::uint32_t value, int size)
{
    std::string out;
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// The file with its bytes from `at` on replaced.
std::string patched(std::string file, std::size_t at, const std::string &with)
{
    if (at + with.size() <= file.size())
        file.replace(at, with.size(), with);
    return file;
}

void pictures(const fs::path &dir)
{
    for (const auto &entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".gif")
            put("gif", entry.path().filename().string(), slurp(entry.path()));
    }
    for (const int colours : { 2, 4, 16, 256 })
        put("gif", "pattern-" + std::to_string(colours),
            str(encodeGif(9, 7, gifPattern(9, 7, colours), gifOptions(colours))));
    GifOptions comment = gifOptions(16);
    comment.beforeImage = { 0x21, 0xFE, 0x03, 'a', 'b', 'c', 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00 };
    put("gif", "extensions", str(encodeGif(12, 4, gifPattern(12, 4, 16), comment)));
    GifOptions full = gifOptions(256);
    full.clearWhenFull = false;
    put("gif", "full-table", str(encodeGif(300, 30, gifPattern(300, 30, 256), full)));
    GifOptions noClear = gifOptions(4);
    noClear.initialClear = false;
    noClear.endCode = false;
    put("gif", "no-clear-no-end", str(encodeGif(20, 5, gifPattern(20, 5, 4), noClear)));
    GifOptions local = gifOptions(4);
    local.localTable = true;
    put("gif", "local-table", str(encodeGif(5, 5, gifPattern(5, 5, 4), local)));
    GifOptions noTable = local;
    noTable.globalTable = false;
    put("gif", "only-local-table", str(encodeGif(5, 5, gifPattern(5, 5, 4), noTable)));
    const std::string whole = str(encodeGif(40, 40, gifPattern(40, 40, 16), gifOptions(16)));
    for (const std::size_t cut : { 12, 30, 60, 100, 300 })
        put("gif", "cut-" + std::to_string(cut), whole.substr(0, cut));
    put("gif", "huge-from-tiny", str(gifFile(2049, 65535, packCodes({ { 4, 3 }, { 1, 3 } }))));
}

std::string goldenList(bool oldest)
{
    // Version 256 has one-byte string lengths; version 0 also 16-bit integers and no ':'.
    const int intSize = oldest ? 2 : 4;
    const std::string header(TStudentList::kHeader);
    std::string file = oldest ? std::string() : lit(":\x00\x01\x00\x00");
    file += le(std::uint32_t(header.size()), 1) + header + le(1, intSize);
    file += le(3, 1) + "Jan" + le(9, intSize) + le(1, intSize) + le(1203, intSize) + std::string(904, '\0');
    file += le(1, intSize) + le(std::uint32_t(header.size()), 1) + header;
    return file;
}

void students()
{
    put("studentlist", "empty-list", TStudentList().serialize());
    TStudentList list;
    TStudent zaneta("\xAF"
                    "aneta",
        0, 0);
    zaneta.NextLesson = 1205;
    zaneta.CharStats[0] = { 120.0F, 91.5F };
    list.add(zaneta);
    list.add(TStudent("Jan", 9, 1));
    const std::string two = list.serialize();
    put("studentlist", "two-students", two);
    put("studentlist", "version-256", goldenList(false));
    put("studentlist", "version-0", goldenList(true));
    for (const std::size_t cut : { 1, 9, 40, 97, 500, 1000, 1900 })
        put("studentlist", "cut-" + std::to_string(cut), two.substr(0, cut));
    const std::size_t trailer = two.size() - 4 - TStudentList::kHeader.size() - 4;
    put("studentlist", "trailer-count", patched(two, trailer, le(3, 4)));
    put("studentlist", "trailer-text", patched(two, trailer + 8, "Stukomat 1.1"));
    put("studentlist", "absurd-count", patched(two, 5 + 4 + TStudentList::kHeader.size(), le(0x7FFFFFFF, 4)));
    put("studentlist", "a-text-file", "Jan Kowalski\nAnna Nowak\n");
}

// The INI target's input begins with section, key, value and another key, each
// ended by a backslash and one more character (FuzzedDataProvider's strings).
void settings()
{
    IniFile saved;
    saveOptions(TOptions(), saved);
    TOptions changed;
    changed.Click = false;
    changed.StudentNo = 3;
    changed.ErrorType = 1;
    changed.Type = 1;
    IniFile edited(
        "; ustawienia pracowni\r\n[Stukomat]\r\nShowAfaterStart = No \r\n\r\n[Inne]\r\nklucz=warto\xB6\xE6\r\n");
    saveOptions(changed, edited);
    const std::vector<std::pair<std::string, std::string>> files = {
        { "defaults", saved.text() },
        { "edited-crlf", edited.text() },
        { "utf8-mark", "\xEF\xBB\xBF[sounds]\ntype=1\nCLICK=no\n[students]\nStudentNo=-5\n" },
        { "odd-values",
            "[Stukomat]\nErrorType=7\nErrorType=1\n[Students]\nStudentNo=99999999999\n[ShowAttr\nShowKeyb=Yes" },
        { "no-line-end", "[Sounds]\nType=-2147483649" },
        { "junk", lit("\x00\xFF[\x01]=\r\r\n==\n[]\n;x=y\n") },
    };
    for (const auto &[name, text] : files) {
        put("optionsprofile", name, text);
        put("inifile", name, "Stukomat\\xShowAfaterStart\\xNo\\xErrorType\\x" + text);
    }
    put("inifile", "new-section", "Nowa\\x Klucz \\x warto\xB6\xE6 \\xklucz\\x" + saved.text());
    put("inifile", "refused-key", "Sounds\\x;Type\\x1\\xType\\x" + saved.text());
}

void lessons(const fs::path &libraryFile)
{
    const std::optional<LessonLibrary> shipped = LessonLibrary::parse(slurp(libraryFile));
    if (!shipped) {
        std::fprintf(stderr, "fuzz_seeds: cannot read %s\n", libraryFile.string().c_str());
        std::exit(1);
    }
    using namespace lessongroups;
    LessonLibrary small;
    for (const int number :
        { 1, 2, 47, kFirstBasicLesson, kFirstBasicLesson + 1, kFirstPracticalText, kFirstKeypadDrill }) {
        if (const auto text = shipped->text(number)) {
            small.addText(number, std::string(*text));
            put("lessontext", "text-" + std::to_string(number), std::string(*text));
        }
        if (const auto title = shipped->title(number))
            small.addTitle(number, *title);
    }
    if (const auto words = shipped->text(kWordList))
        small.addText(kWordList, std::string(words->substr(0, words->find(' ', 2000))));
    const std::string good = small.serialize();
    put("lessonlibrary", "small-library", good);
    put("lessonlibrary", "empty-library", LessonLibrary().serialize());
    put("lessonlibrary", "wrong-version", patched(good, 8, le(2, 4)));
    put("lessonlibrary", "absurd-count", patched(good, 12, le(0x7FFFFFFF, 4)));
    put("lessonlibrary", "size-past-end", patched(good, 16 + 5, le(0x0FFFFFFF, 4)));
    put("lessonlibrary", "unknown-kind", patched(good, 16, "\x07"));
    put("lessonlibrary", "trailing-bytes", good + "junk");
    put("lessonlibrary", "cut", good.substr(0, good.size() / 2));

    put("lessontext", "plus-only", "+\r\n");
    put("lessontext", "cut-after-cr", "Instrukcja\r");
    put("lessontext", "line-feeds-only", "Instrukcja\r\nala\nma\nkota\n");
    put("lessontext", "zero-in-body", lit("+Pisz\r\nab\0cd\r\n"));
    put("lessontext", "many-lines", "X\r\n" + std::string(30, '\r') + std::string(20, '\n') + "a\r\n");
}

void ownTexts()
{
    const std::string polish = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";
    put("owntext", "cp1250", polish + "\r\n" + polish + "\r\n");
    put("owntext", "utf8",
        "\xEF\xBB\xBF"
        "Zażółć gęślą jaźń\n„cudzysłów” – myślnik… i\u00A0spacja\n");
    put("owntext", "utf16le",
        lit("\xFF\xFE"
            "a\0\x05\x01\n\0b\0"));
    put("owntext", "utf16be", lit("\xFE\xFF\0a\x01\x05\0\n\0b"));
    put("owntext", "controls", lit("al\0a\x01 m\x1b\tkot\r\rpies"));
    put("owntext", "long-line", std::string(5000, 'w') + "\n" + std::string(300, 'x') + " y");
    std::string shortLines;
    for (int i = 1; i <= 150; ++i)
        shortLines += "linia " + std::to_string(i) + "\n";
    put("owntext", "150-lines", shortLines);
}

void waves(const fs::path &dir)
{
    for (const auto &entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".wav")
            put("waveclip", entry.path().filename().string(), slurp(entry.path()));
    }
    const auto wave = [](int format, int channels, int rate, int bits, const std::string &data) {
        const std::string fmt = le(std::uint32_t(format), 2) + le(std::uint32_t(channels), 2)
            + le(std::uint32_t(rate), 4) + le(std::uint32_t(rate * channels * bits / 8), 4)
            + le(std::uint32_t(channels * bits / 8), 2) + le(std::uint32_t(bits), 2);
        const std::string body = "WAVEfmt " + le(16, 4) + fmt + "data" + le(std::uint32_t(data.size()), 4) + data;
        return "RIFF" + le(std::uint32_t(body.size()), 4) + body;
    };
    put("waveclip", "8-bit-stereo", wave(1, 2, 11025, 8, std::string(64, '\x90')));
    put("waveclip", "odd-chunk", wave(1, 1, 8000, 8, std::string(7, '\x10')) + "LIST" + le(1, 4) + "x");
    put("waveclip", "float", wave(3, 1, 44100, 32, std::string(16, '\0')));
    const std::string good = wave(1, 1, 22050, 16, std::string(40, '\x20'));
    put("waveclip", "data-past-end", patched(good, 40, le(0x7FFFFFFF, 4)));
    put("waveclip", "short-fmt", patched(good, 16, le(8, 4)));
    put("waveclip", "cut", good.substr(0, 30));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR LIBRARY PICTURES_DIR SOUNDS_DIR\n");
        return 2;
    }
    g_out = argv[1];
    pictures(argv[3]);
    students();
    settings();
    lessons(argv[2]);
    ownTexts();
    waves(argv[4]);
    return 0;
}
