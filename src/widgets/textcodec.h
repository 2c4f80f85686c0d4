#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

// The one place where the interface's Unicode text meets the Windows-1250
// bytes of lesson texts, typed characters and student names.
namespace textcodec {

QString toQString(std::string_view cp1250Bytes);

// Characters without a Windows-1250 byte become '?'.
std::string fromQString(const QString &text);

// The byte of one typed character, or nothing when it has none (such a
// character is no lesson key). Surrogate pairs are handled.
std::optional<unsigned char> byteOf(char32_t codePoint);

} // namespace textcodec
