#include "lessons/keypadkeys.h"

#include "text/statchars.h"

#include <cmath>

const std::array<KeypadKey, kKeypadKeyCount> KeypadKeys = { {
    { '/', { 543, 51, 26, 26 } },
    { '*', { 569, 51, 26, 26 } },
    { '-', { 595, 51, 26, 26 } },
    { '7', { 517, 77, 26, 26 } },
    { '8', { 543, 77, 26, 26 } },
    { '9', { 569, 77, 26, 26 } },
    { '+', { 595, 77, 26, 52 } },
    { '4', { 517, 103, 26, 26 } },
    { '5', { 543, 103, 26, 26 } },
    { '6', { 569, 103, 26, 26 } },
    { '1', { 517, 129, 26, 26 } },
    { '2', { 543, 129, 26, 26 } },
    { '3', { 569, 129, 26, 26 } },
    { chars::CarriageReturn, { 595, 129, 26, 52 } },
    { '0', { 517, 155, 52, 26 } },
    { '.', { 569, 155, 26, 26 } },
} };

bool keypadSameKey(unsigned char a, unsigned char b, bool plusMark)
{
    if (a == ',')
        a = '.';
    if (b == ',')
        b = '.';
    if (plusMark && a == '+' && b == chars::CarriageReturn)
        return true;
    return a == b;
}

int keypadKeyFor(unsigned char next, bool plusMark)
{
    if (next == 0)
        return -1;
    if (plusMark && next == chars::CarriageReturn)
        next = '+';
    // Plain comparison: a comma has no key of its own here.
    for (int i = 0; i < kKeypadKeyCount; ++i) {
        if (KeypadKeys[i].character == next)
            return i;
    }
    return -1;
}

KeyArea scaledKeyArea(const KeyArea &area, double factor)
{
    auto edge = [factor](int position) { return static_cast<int>(std::lround(position * factor)); };
    const int left = edge(area.left);
    const int top = edge(area.top);
    return { left, top, edge(area.left + area.width) - left, edge(area.top + area.height) - top };
}
