#include "lessons/owntext.h"

#include "text/cp1250.h"
#include "text/statchars.h"

namespace {

// What one byte of a file line becomes in the exercise.
void appendTypable(std::string &out, unsigned char c)
{
    switch (c) {
    case '\t':
    case 0xA0: // no-break space
        out += ' ';
        return;
    case 0x84: // „
    case 0x93: // “
    case 0x94: // ”
    case 0xAB: // «
    case 0xBB: // »
        out += '"';
        return;
    case 0x91: // ‘
    case 0x92: // ’
        out += '\'';
        return;
    case 0x96: // –
    case 0x97: // —
        out += '-';
        return;
    case 0x85: // …
        out += "...";
        return;
    default:
        break;
    }
    // A character no key of a lesson gives could never be typed.
    if (c != chars::CarriageReturn && statCharSlot(c) >= 0)
        out += char(c);
}

class Cutter
{
public:
    bool full() const { return m_text.lineCount >= kOwnTextMaxLines; }

    // One line as read from the file, without its line end.
    void addFileLine(std::string_view raw)
    {
        std::string line;
        line.reserve(raw.size());
        for (const char c : raw)
            appendTypable(line, static_cast<unsigned char>(c));
        if (line.find_first_not_of(' ') == std::string::npos)
            return;
        std::string_view rest = line;
        if (rest.size() <= kOwnTextLineLength) {
            append(rest);
            return;
        }
        while (rest.size() >= kOwnTextLineLength && !full()) {
            const std::string_view head = rest.substr(0, kOwnTextLineLength);
            const std::size_t blank = head.rfind(' ');
            if (blank != std::string_view::npos) {
                append(rest.substr(0, blank));
                rest.remove_prefix(blank + 1);
            } else {
                append(head);
                rest.remove_prefix(kOwnTextLineLength);
            }
        }
        append(rest);
    }

    OwnText take() { return std::move(m_text); }

private:
    // Cutting at a blank can leave nothing before it; that makes no line.
    void append(std::string_view piece)
    {
        if (full() || piece.find_first_not_of(' ') == std::string_view::npos)
            return;
        m_text.body.append(piece);
        m_text.body += "\r\n";
        ++m_text.lineCount;
    }

    OwnText m_text;
};

} // namespace

OwnText cutOwnText(std::string_view fileBytes)
{
    Cutter cutter;
    std::size_t pos = 0;
    while (pos < fileBytes.size() && !cutter.full()) {
        const std::size_t start = pos;
        std::size_t end = start;
        while (end < fileBytes.size() && end - start < kOwnTextPieceLength && fileBytes[end] != '\n'
            && fileBytes[end] != '\r')
            ++end;
        pos = end;
        if (pos < fileBytes.size() && fileBytes[pos] == '\r')
            ++pos;
        if (pos < fileBytes.size() && fileBytes[pos] == '\n')
            ++pos;
        cutter.addFileLine(fileBytes.substr(start, end - start));
    }
    return cutter.take();
}

namespace {

// Collects the code points of a file as Windows-1250 and watches for the
// marks of a file that is no text.
class Cp1250Sink
{
public:
    explicit Cp1250Sink(std::size_t sizeHint) { m_out.reserve(sizeHint); }

    // A byte of a file that is Windows-1250 already.
    void addByte(unsigned char byte)
    {
        count(byte);
        m_out += char(byte);
    }

    void add(char32_t cp)
    {
        count(cp);
        if (const auto byte = cp1250::fromCodePoint(cp)) {
            m_out += char(*byte);
            return;
        }
        switch (cp) {
        case 0x2010: // hyphen
        case 0x2011: // non-breaking hyphen
        case 0x2012: // figure dash
        case 0x2015: // horizontal bar
        case 0x2212: // minus sign
            m_out += '-';
            break;
        case 0x2032: // prime
        case 0x201B: // reversed single quote
            m_out += '\'';
            break;
        case 0x2033: // double prime
        case 0x201F: // reversed double quote
            m_out += '"';
            break;
        case 0x2002: // en space
        case 0x2003: // em space
        case 0x2007: // figure space
        case 0x2009: // thin space
        case 0x202F: // narrow no-break space
            m_out += ' ';
            break;
        default: // anything else no key gives, the byte-order mark among them
            break;
        }
    }

    std::optional<std::string> take()
    {
        // A text has a form feed now and then; one control character in
        // ten is a program, a picture or a database.
        if (m_binary || m_controls * 10 > m_count)
            return std::nullopt;
        return std::move(m_out);
    }

private:
    void count(char32_t cp)
    {
        ++m_count;
        if (cp == 0)
            m_binary = true;
        else if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r' && cp != '\f')
            ++m_controls;
    }

    std::string m_out;
    std::size_t m_count = 0;
    std::size_t m_controls = 0;
    bool m_binary = false;
};

// The code points of strict UTF-8 (no overlong forms, no surrogates), or
// false at the first malformed sequence. An incomplete sequence at the very
// end is dropped.
template<typename Emit> bool decodeUtf8(std::string_view text, Emit &&emit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            emit(char32_t(lead));
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + 1 + std::size_t(extra) > text.size()) {
            // Cut off by the end: valid so far is enough.
            for (std::size_t k = i + 1; k < text.size(); ++k) {
                if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80)
                    return false;
            }
            return true;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        emit(cp);
        i += 1 + std::size_t(extra);
    }
    return true;
}

void decodeUtf16(std::string_view text, bool bigEndian, Cp1250Sink &sink)
{
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        return char32_t(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < text.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                sink.add(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u < 0xD800 || u > 0xDFFF) // a lone surrogate is no character
            sink.add(u);
    }
}

} // namespace

std::optional<std::string> ownTextToCp1250(std::string_view fileBytes)
{
    Cp1250Sink sink(fileBytes.size());
    if (fileBytes.starts_with("\xFF\xFE") || fileBytes.starts_with("\xFE\xFF")) {
        decodeUtf16(fileBytes.substr(2), fileBytes[0] == '\xFE', sink);
        return sink.take();
    }
    if (fileBytes.starts_with("\xEF\xBB\xBF"))
        fileBytes.remove_prefix(3);
    if (decodeUtf8(fileBytes, [](char32_t) {})) {
        decodeUtf8(fileBytes, [&sink](char32_t cp) { sink.add(cp); });
        return sink.take();
    }
    for (const char c : fileBytes)
        sink.addByte(static_cast<unsigned char>(c));
    return sink.take();
}
