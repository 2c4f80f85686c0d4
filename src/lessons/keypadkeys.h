#pragma once

#include <array>

// A key's rectangle on the keyboard picture, relative to its top-left corner.
struct KeyArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const KeyArea &, const KeyArea &) = default;
};

// A key's area on the keyboard picture drawn `factor` times its ordinary
// size: each edge is scaled and rounded on its own, so keys that touch
// still touch, none overlaps its neighbour, and at a whole factor the area
// is exactly the key of the larger picture.
KeyArea scaledKeyArea(const KeyArea &area, double factor);

// One key of the numeric keypad on the keyboard picture. Keypad keys are
// never marked with a Shift or right Alt.
struct KeypadKey {
    unsigned char character = 0; // carriage return for the keypad's Enter
    KeyArea area;
};

inline constexpr int kKeypadKeyCount = 16;

// The keypad keys in the order they are searched.
extern const std::array<KeypadKey, kKeypadKeyCount> KeypadKeys;

// Whether two characters come from the same key in a keypad drill: the
// decimal key gives a point or a comma, and in a drill that ends its lines
// with "+" (plus mark) a typed "+" stands for Enter. a is the typed or the
// expected character, b the character it is compared with.
bool keypadSameKey(unsigned char a, unsigned char b, bool plusMark);

// Index in KeypadKeys of the key to press for the next character, or -1
// when no keypad key gives it. With the plus mark a line end is the "+" key.
int keypadKeyFor(unsigned char next, bool plusMark);
