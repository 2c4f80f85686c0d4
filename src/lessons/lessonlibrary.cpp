#include "lessons/lessonlibrary.h"

#include <cstring>

namespace {

constexpr std::string_view kMagic = "PALCOLIB";
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kEntryHeader = 1 + 4 + 4;

void putU32(std::string &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t getU32(std::string_view in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(in[at + i]);
    return v;
}

std::optional<LessonLibrary> fail(std::string *error, const char *what)
{
    if (error)
        *error = what;
    return std::nullopt;
}

} // namespace

void LessonLibrary::addText(int number, std::string bytes)
{
    m_texts[number] = std::move(bytes);
}

void LessonLibrary::addTitle(int number, std::string bytes)
{
    m_titles[number] = std::move(bytes);
}

std::optional<std::string_view> LessonLibrary::text(int number) const
{
    const auto it = m_texts.find(number);
    if (it == m_texts.end())
        return std::nullopt;
    return std::string_view(it->second);
}

std::optional<std::string> LessonLibrary::title(int number) const
{
    const auto it = m_titles.find(number);
    if (it == m_titles.end() || it->second.empty())
        return std::nullopt;
    return it->second.substr(0, kMaxTitleLength);
}

int LessonLibrary::countGroup(int first) const
{
    int count = 0;
    while (m_texts.count(first + count))
        ++count;
    return count;
}

std::string LessonLibrary::serialize() const
{
    std::string out(kMagic);
    putU32(out, kVersion);
    putU32(out, static_cast<std::uint32_t>(m_texts.size() + m_titles.size()));
    auto put = [&out](Kind kind, const std::map<int, std::string> &items) {
        for (const auto &[number, bytes] : items) {
            out += static_cast<char>(kind);
            putU32(out, static_cast<std::uint32_t>(number));
            putU32(out, static_cast<std::uint32_t>(bytes.size()));
            out += bytes;
        }
    };
    put(Kind::Text, m_texts);
    put(Kind::Title, m_titles);
    return out;
}

std::optional<LessonLibrary> LessonLibrary::parse(std::string_view bytes, std::string *error)
{
    const std::size_t headerSize = kMagic.size() + 8;
    if (bytes.size() < headerSize || bytes.substr(0, kMagic.size()) != kMagic)
        return fail(error, "to nie jest plik biblioteki lekcji");
    if (getU32(bytes, kMagic.size()) != kVersion)
        return fail(error, "nieznana wersja biblioteki lekcji");
    const std::uint32_t count = getU32(bytes, kMagic.size() + 4);
    // Each entry takes at least its header, so a damaged count cannot make us loop for long.
    if (count > (bytes.size() - headerSize) / kEntryHeader)
        return fail(error, "biblioteka lekcji jest uszkodzona");

    LessonLibrary library;
    std::size_t at = headerSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < kEntryHeader)
            return fail(error, "biblioteka lekcji jest uszkodzona");
        const auto kind = static_cast<unsigned char>(bytes[at]);
        const auto number = static_cast<std::int32_t>(getU32(bytes, at + 1));
        const std::uint32_t size = getU32(bytes, at + 5);
        at += kEntryHeader;
        if (size > bytes.size() - at)
            return fail(error, "biblioteka lekcji jest uszkodzona");
        std::string item(bytes.substr(at, size));
        at += size;
        std::map<int, std::string> *items = nullptr;
        if (kind == static_cast<unsigned char>(Kind::Text))
            items = &library.m_texts;
        else if (kind == static_cast<unsigned char>(Kind::Title))
            items = &library.m_titles;
        else
            return fail(error, "biblioteka lekcji jest uszkodzona");
        if (!items->emplace(number, std::move(item)).second)
            return fail(error, "biblioteka lekcji jest uszkodzona");
    }
    if (at != bytes.size())
        return fail(error, "biblioteka lekcji jest uszkodzona");
    return library;
}
