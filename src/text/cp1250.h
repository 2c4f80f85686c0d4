#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1250 is the code page of every lesson text, typed character and
// student name inside the program. These helpers convert at the edges.
namespace cp1250 {

// The Unicode code point of a Windows-1250 byte. The five bytes the code page
// leaves undefined map to the C1 control of the same number, so every byte
// survives a round trip.
char32_t toCodePoint(unsigned char byte);

// The Windows-1250 byte of a code point, or nothing when the code page has none.
std::optional<unsigned char> fromCodePoint(char32_t codePoint);

// UTF-8 to Windows-1250. Characters without a byte, and malformed UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

// Windows-1250 to UTF-8.
std::string toUtf8(std::string_view bytes);

} // namespace cp1250
