// mklibrary: builds the lesson library from its readable sources.
//
//   mklibrary --titles TITLES --lessons DIR --output FILE
//
// TITLES holds one title a line: the number, a tab, the title (UTF-8).
// DIR holds one file a lesson, named by its number (1201.txt), UTF-8 with LF
// line ends. Every text is stored in Windows-1250 with CR LF line ends;
// whether it ends with a line break is kept exactly as in its source.

#include "text/cp1250.h"
#include "lessons/lessonlibrary.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path &path, std::string &out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return true;
}

// UTF-8 that round-trips through Windows-1250, so no character is silently lost.
bool convertExactly(const std::string &utf8, std::string &out)
{
    out = cp1250::fromUtf8(utf8);
    return cp1250::toUtf8(out) == utf8;
}

std::string toCrLf(const std::string &text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 40);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

bool parseNumber(std::string_view text, int &number)
{
    const auto *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return ec == std::errc() && ptr == end && number > 0;
}

int fail(const std::string &message)
{
    std::cerr << "mklibrary: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    fs::path titles;
    fs::path lessons;
    fs::path output;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--titles")
            titles = argv[i + 1];
        else if (option == "--lessons")
            lessons = argv[i + 1];
        else if (option == "--output")
            output = argv[i + 1];
        else
            return fail("unknown option " + option);
    }
    if (titles.empty() || lessons.empty() || output.empty())
        return fail("usage: mklibrary --titles TITLES --lessons DIR --output FILE");

    LessonLibrary library;

    std::string titleText;
    if (!readFile(titles, titleText))
        return fail("cannot read " + titles.string());
    std::istringstream titleLines(titleText);
    std::string line;
    int lineNo = 0;
    while (std::getline(titleLines, line)) {
        ++lineNo;
        if (line.empty())
            continue;
        const auto tab = line.find('\t');
        int number = 0;
        std::string bytes;
        if (tab == std::string::npos || !parseNumber(std::string_view(line).substr(0, tab), number))
            return fail(titles.string() + ":" + std::to_string(lineNo) + ": expected NUMBER<TAB>TITLE");
        if (!convertExactly(line.substr(tab + 1), bytes))
            return fail(titles.string() + ":" + std::to_string(lineNo) + ": character outside Windows-1250");
        library.addTitle(number, bytes);
    }

    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(lessons, ec)) {
        const fs::path &path = entry.path();
        if (path.extension() != ".txt")
            continue;
        int number = 0;
        if (!parseNumber(path.stem().string(), number))
            return fail(path.string() + ": the file name must be the lesson number");
        std::string source;
        std::string bytes;
        if (!readFile(path, source))
            return fail("cannot read " + path.string());
        if (source.find('\r') != std::string::npos)
            return fail(path.string() + ": use LF line ends in lesson sources");
        if (!convertExactly(source, bytes))
            return fail(path.string() + ": character outside Windows-1250 or invalid UTF-8");
        library.addText(number, toCrLf(bytes));
    }
    if (ec)
        return fail("cannot list " + lessons.string() + ": " + ec.message());

    const fs::path temporary = output.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        const std::string packed = library.serialize();
        out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
        if (!out)
            return fail("cannot write " + temporary.string());
    }
    fs::rename(temporary, output, ec);
    if (ec)
        return fail("cannot replace " + output.string() + ": " + ec.message());
    return 0;
}
