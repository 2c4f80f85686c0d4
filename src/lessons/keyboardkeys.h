#pragma once

#include "lessons/keypadkeys.h"

#include <array>
#include <cstdint>
#include <functional>

// Which Shift or right Alt a key must be held with (bits of a key record's mark).
enum ShiftMark : std::uint16_t {
    NoShift = 0,
    RightShift = 1, // keys of the left half
    LeftShift = 2, // keys of the right half
    RightAlt = 4, // the Polish letters
};

// One key of the main block of the keyboard picture: the character it
// gives in this record (0 for Shift and right Alt) and its outline, one
// rectangle or, for the L-shaped Enter, two.
struct TKP {
    unsigned char character = 0;
    std::uint16_t shiftMark = NoShift;
    std::array<KeyArea, 2> area {};
    int areaCount = 1;
};

inline constexpr int kMainKeyCount = 117;
// The records that stand for the keys held with another one.
inline constexpr int kRightShiftKey = 0;
inline constexpr int kLeftShiftKey = 1;
inline constexpr int kRightAltKey = 2;

// The Caps Lock key of the keyboard picture, lit while Caps Lock is on.
inline constexpr KeyArea kCapsLockArea { 12, 103, 45, 26 };

// Whether `c` is typed with the right Alt (a Polish letter).
bool needsRightAlt(unsigned char c);

// The main block's records in the order they are searched: the first one
// that gives a character is the key to mark for it. A character that needs
// a Shift is a record of its own on the area of the unshifted one.
extern const std::array<TKP, kMainKeyCount> MainKeys;

// The areas the keyboard view marks for the next character: at most the
// key's two rectangles (the L-shaped Enter), a Shift and the right Alt.
struct MarkedKeys {
    std::array<KeyArea, 4> areas {};
    int count = 0;

    void add(const KeyArea &area) { areas[std::size_t(count++)] = area; }
};

// The main block's marks for `next`: the key of the first record whose
// character is the same key as `next`, then the right Shift for a mark of
// 1, the left Shift for 2 and the right Alt for bit 4. Nothing for 0 or a
// character no record gives.
MarkedKeys markedMainKeys(unsigned char next, const std::function<bool(unsigned char, unsigned char)> &sameKey);

// The keypad's mark: the one key of KeypadKeys at `index`, or nothing for -1.
MarkedKeys markedKeypadKey(int index);
