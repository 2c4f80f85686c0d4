#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The lesson library: stored lesson texts, the word list and the lesson
// titles, looked up by number. The file (pisarz.src) is a small archive of
// our own:
//
//   "PALCOLIB"            8 bytes
//   version               uint32, 1
//   entry count           uint32
//   entries               kind (uint8: 1 text, 2 title), number (uint32),
//                         size (uint32), that many Windows-1250 bytes
//
// All integers are little-endian. A missing item is an ordinary answer.
class LessonLibrary
{
public:
    enum class Kind : std::uint8_t { Text = 1, Title = 2 };

    static constexpr std::size_t kMaxTitleLength = 149;

    void addText(int number, std::string bytes);
    void addTitle(int number, std::string bytes);

    // A stored text's bytes (no terminator, format of a lesson text), or nothing.
    std::optional<std::string_view> text(int number) const;

    // A title of at most 149 characters, or nothing; an empty entry counts as missing.
    std::optional<std::string> title(int number) const;

    // Number of consecutive texts from first on (a group ends at the first missing number).
    int countGroup(int first) const;

    std::string serialize() const;

    // Parses an archive; on failure returns nothing and sets *error to a
    // short Polish description of what is wrong.
    static std::optional<LessonLibrary> parse(std::string_view bytes, std::string *error = nullptr);

private:
    std::map<int, std::string> m_texts;
    std::map<int, std::string> m_titles;
};
