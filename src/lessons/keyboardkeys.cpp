#include "lessons/keyboardkeys.h"

#include <string_view>

namespace {

constexpr int kKey = 26; // the side of an ordinary key

class TableBuilder
{
public:
    void add(unsigned char character, std::uint16_t mark, KeyArea area)
    {
        TKP &key = m_keys[m_count++];
        key.character = character;
        key.shiftMark = mark;
        key.area[0] = area;
    }

    // A row of keys side by side, from `left` on.
    void row(std::string_view characters, std::uint16_t mark, int top, int left)
    {
        for (const char c : characters) {
            add(static_cast<unsigned char>(c), mark, { left, top, kKey, kKey });
            left += kKey;
        }
    }

    // Shifted characters of a row: the first `rightShiftCount` are typed
    // with the right Shift, the rest with the left one.
    void shiftedRow(std::string_view characters, std::size_t rightShiftCount, int top, int left)
    {
        row(characters.substr(0, rightShiftCount), RightShift, top, left);
        row(characters.substr(rightShiftCount), LeftShift, top, left + kKey * int(rightShiftCount));
    }

    // Keys at the given left edges of one row.
    void keysAt(std::string_view characters, std::uint16_t mark, int top, std::initializer_list<int> lefts)
    {
        const int *left = lefts.begin();
        for (const char c : characters)
            add(static_cast<unsigned char>(c), mark, { *left++, top, kKey, kKey });
    }

    const TKP &key(int index) const { return m_keys[std::size_t(index)]; }
    std::array<TKP, kMainKeyCount> take() const { return m_keys; }
    int count() const { return m_count; }

private:
    std::array<TKP, kMainKeyCount> m_keys {};
    std::size_t m_count = 0;
};

// The record index of the unshifted letter, for the Polish letters on its key.
int letterIndex(const TableBuilder &table, unsigned char letter)
{
    for (int i = 0; i < table.count(); ++i) {
        if (table.key(i).character == letter)
            return i;
    }
    return 0;
}

std::array<TKP, kMainKeyCount> makeMainKeys()
{
    TableBuilder t;
    t.add(0, NoShift, { 331, 129, 71, kKey }); // right Shift
    t.add(0, NoShift, { 12, 129, 59, kKey }); // left Shift
    t.add(0, NoShift, { 297, 155, 40, kKey }); // right Alt
    t.add(' ', NoShift, { 118, 155, 179, kKey });
    t.add('\r', NoShift, { 343, 103, 59, kKey }); // its upper part is added below
    t.row("123456789", NoShift, 51, 38);
    t.keysAt("0-=\\`", NoShift, 51, { 272, 298, 324, 350, 14 });
    t.keysAt("!@#$%^", RightShift, 51, { 38, 64, 90, 116, 142, 168 });
    t.keysAt("&*()_+|~", LeftShift, 51, { 194, 220, 246, 272, 298, 324, 350, 14 });
    t.row("qwertyuiop[]", NoShift, 77, 52);
    t.shiftedRow("QWERTYUIOP{}", 6, 77, 52);
    t.row("asdfghjkl;'", NoShift, 103, 57);
    t.shiftedRow("ASDFGHJKL:\"", 5, 103, 57);
    t.row("zxcvbnm,./", NoShift, 129, 71);
    t.shiftedRow("ZXCVBNM<>?", 5, 129, 71);

    // Right Alt gives the Polish letters: lower case, then upper case with
    // the Shift of that key's half (Windows-1250 bytes).
    struct Polish {
        char key;
        unsigned char lower;
        unsigned char upper;
    };
    const Polish polish[] = {
        { 'a', 0xB9, 0xA5 }, // ą Ą
        { 'c', 0xE6, 0xC6 }, // ć Ć
        { 'e', 0xEA, 0xCA }, // ę Ę
        { 'l', 0xB3, 0xA3 }, // ł Ł
        { 'o', 0xF3, 0xD3 }, // ó Ó
        { 'n', 0xF1, 0xD1 }, // ń Ń
        { 's', 0x9C, 0x8C }, // ś Ś
        { 'z', 0xBF, 0xAF }, // ż Ż
        { 'x', 0x9F, 0x8F }, // ź Ź
    };
    for (const Polish &p : polish) {
        const int letter = letterIndex(t, static_cast<unsigned char>(p.key));
        const int upper = letterIndex(t, static_cast<unsigned char>(p.key - 'a' + 'A'));
        const KeyArea area = t.key(letter).area[0];
        const auto shift = static_cast<std::uint16_t>(t.key(upper).shiftMark | RightAlt);
        t.add(p.lower, RightAlt, area);
        t.add(p.upper, shift, area);
    }
    std::array<TKP, kMainKeyCount> keys = t.take();
    // Enter is an L: the part beside "]" above the part beside the apostrophe.
    keys[4].area[1] = { 364, 77, 38, kKey };
    keys[4].areaCount = 2;
    return keys;
}

} // namespace

const std::array<TKP, kMainKeyCount> MainKeys = makeMainKeys();

MarkedKeys markedMainKeys(unsigned char next, const std::function<bool(unsigned char, unsigned char)> &sameKey)
{
    MarkedKeys marked;
    if (next == 0)
        return marked;
    for (const TKP &key : MainKeys) {
        if (key.character == 0 || !sameKey(next, key.character))
            continue;
        for (int r = 0; r < key.areaCount; ++r)
            marked.add(key.area[std::size_t(r)]);
        if ((key.shiftMark & 3) == RightShift)
            marked.add(MainKeys[kRightShiftKey].area[0]);
        else if ((key.shiftMark & 3) == LeftShift)
            marked.add(MainKeys[kLeftShiftKey].area[0]);
        if (key.shiftMark & RightAlt)
            marked.add(MainKeys[kRightAltKey].area[0]);
        break;
    }
    return marked;
}

MarkedKeys markedKeypadKey(int index)
{
    MarkedKeys marked;
    if (index >= 0 && index < kKeypadKeyCount)
        marked.add(KeypadKeys[std::size_t(index)].area);
    return marked;
}

bool needsRightAlt(unsigned char c)
{
    if (c == 0)
        return false;
    for (const TKP &key : MainKeys) {
        if (key.character == c)
            return (key.shiftMark & RightAlt) != 0;
    }
    return false;
}
