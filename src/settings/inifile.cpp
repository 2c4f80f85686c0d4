#include "settings/inifile.h"

#include <climits>
#include <cstdint>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

// "[name]" gives the trimmed name; a missing ']' takes the rest of the line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    if (close != std::string_view::npos)
        line = line.substr(0, close);
    return trimmed(line);
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() == ';' || line.front() == '[')
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine { trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)) };
}

bool fitsOnOneLine(std::string_view s)
{
    return s.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

IniFile::IniFile(std::string_view text)
{
    if (text.starts_with(kUtf8Bom)) {
        m_bom = kUtf8Bom;
        text.remove_prefix(kUtf8Bom.size());
    }
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            m_lines.push_back({ std::string(text), {} });
            break;
        }
        std::string_view body = text.substr(0, newline);
        std::string end = "\n";
        if (!body.empty() && body.back() == '\r') {
            body.remove_suffix(1);
            end = "\r\n";
        }
        m_lines.push_back({ std::string(body), end });
        text.remove_prefix(newline + 1);
    }
}

std::string IniFile::text() const
{
    std::string out = m_bom;
    for (const Line &line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::optional<IniFile::Entry> IniFile::find(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string_view text = m_lines[i].text;
        if (const auto name = sectionName(text)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = keyLine(text); entry && sameName(entry->name, key))
            return Entry { i, entry->name, entry->value };
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto entry = find(trimmed(section), trimmed(key));
    if (!entry)
        return std::nullopt;
    return std::string(entry->value);
}

std::string IniFile::getString(
    std::string_view section, std::string_view key, std::string_view fallback, std::size_t bufferSize) const
{
    std::string result = value(section, key).value_or(std::string(fallback));
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    if (result.size() > room)
        result.resize(room);
    return result;
}

int IniFile::getInt(std::string_view section, std::string_view key, int fallback) const
{
    const auto text = value(section, key);
    if (!text)
        return fallback;
    std::string_view digits = *text;
    const bool negative = digits.starts_with('-');
    if (negative)
        digits.remove_prefix(1);
    std::int64_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + (c - '0');
        if (number > std::int64_t(INT_MAX) + 1)
            break;
    }
    if (negative)
        number = -number;
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

std::string IniFile::lineEnd() const
{
    for (const Line &line : m_lines) {
        if (!line.end.empty())
            return line.end;
    }
    return "\n";
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    section = trimmed(section);
    key = trimmed(key);
    if (section.empty() || key.empty() || !fitsOnOneLine(section) || !fitsOnOneLine(key) || !fitsOnOneLine(value)
        || key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '['
        || section.find(']') != std::string_view::npos)
        return false;

    std::string newLine = std::string(key) + '=' + std::string(value);

    if (const auto entry = find(section, key)) {
        // An unchanged value keeps its line exactly as the user wrote it.
        if (entry->value != trimmed(value))
            m_lines[entry->line].text = std::move(newLine);
        return true;
    }

    const std::string end = lineEnd();

    // The key goes after the last non-blank line of the first matching section.
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (!name || !sameName(*name, section))
            continue;
        std::size_t insertAfter = i;
        for (std::size_t j = i + 1; j < m_lines.size() && !sectionName(m_lines[j].text); ++j) {
            if (!trimmed(m_lines[j].text).empty())
                insertAfter = j;
        }
        if (m_lines[insertAfter].end.empty())
            m_lines[insertAfter].end = end;
        m_lines.insert(
            m_lines.begin() + static_cast<std::ptrdiff_t>(insertAfter) + 1, Line { std::move(newLine), end });
        return true;
    }

    if (!m_lines.empty()) {
        if (m_lines.back().end.empty())
            m_lines.back().end = end;
        if (!trimmed(m_lines.back().text).empty())
            m_lines.push_back({ {}, end });
    }
    m_lines.push_back({ '[' + std::string(section) + ']', end });
    m_lines.push_back({ std::move(newLine), end });
    return true;
}
