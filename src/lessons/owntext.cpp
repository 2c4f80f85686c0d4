#include "lessons/owntext.h"

#include "lessons/statchars.h"

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
