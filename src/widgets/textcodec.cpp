#include "widgets/textcodec.h"

#include "text/cp1250.h"

#include <QList>

namespace textcodec {

QString toQString(std::string_view cp1250Bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(cp1250Bytes.size()));
    for (char c : cp1250Bytes)
        out += QChar(static_cast<char16_t>(cp1250::toCodePoint(static_cast<unsigned char>(c))));
    return out;
}

std::string fromQString(const QString &text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t cp : text.toUcs4())
        out += static_cast<char>(cp1250::fromCodePoint(cp).value_or('?'));
    return out;
}

std::optional<unsigned char> byteOf(char32_t codePoint)
{
    return cp1250::fromCodePoint(codePoint);
}

} // namespace textcodec
