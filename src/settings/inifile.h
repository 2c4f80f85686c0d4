#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An INI-style profile file held in memory, read and changed the way the
// classic profile service does it: sections in square brackets, "key=value"
// lines, section and key names compared without regard to ASCII case, blanks
// around names and values ignored, lines starting with ';' are comments.
// Writing a key changes only that key's line (or adds one); every other line,
// comments and unknown sections included, comes back byte for byte.
class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file's bytes, with the changes made so far.
    std::string text() const;

    // The trimmed value of the first matching key, or nothing when the section
    // or the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The key's value, or fallback when it is missing, cut to fit a buffer of
    // bufferSize bytes with its terminator (so at most bufferSize - 1 bytes).
    std::string getString(
        std::string_view section, std::string_view key, std::string_view fallback, std::size_t bufferSize) const;

    // fallback when the key is missing; otherwise the decimal number at the
    // start of the value (an optional minus sign, then digits), 0 when the
    // value does not start with one. Values beyond the int range saturate.
    int getInt(std::string_view section, std::string_view key, int fallback) const;

    // Sets the key, adding the section and the key when missing. Refuses
    // (returns false, changes nothing) names and values that cannot be stored
    // on one line: empty names, line breaks, '=' in a key, ']' in a section.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        std::string text; // without its line end
        std::string end; // "\r\n", "\n", or empty for a last line without one
    };

    struct Entry {
        std::size_t line;
        std::string_view name;
        std::string_view value;
    };

    std::optional<Entry> find(std::string_view section, std::string_view key) const;
    std::string lineEnd() const;

    std::string m_bom; // a UTF-8 byte order mark in front of the first line, kept as found
    std::vector<Line> m_lines;
};
