#pragma once

#include <array>
#include <cstdint>

// The characters a lesson recognises and counts one by one. The slot order is
// also the order of a student's stored per-character results, so it never
// changes (note upper-case W before V).
inline constexpr int kStatCharCount = 113;

extern const std::array<unsigned char, kStatCharCount> StatChars;

// Slot of a byte in StatChars, or -1.
int statCharSlot(unsigned char c);

// One lesson's counters for one StatChars slot.
struct TCharCount {
    std::uint32_t Hits = 0; // correct keystrokes where this character was expected
    std::uint32_t Time = 0; // milliseconds of the keystroke intervals booked on it
    std::uint32_t Misses = 0; // wrong keystrokes where this character was expected
};

using TCharCounts = std::array<TCharCount, kStatCharCount>;

// How often one character was typed where another was expected.
struct TConfusion {
    unsigned char Expected = 0;
    unsigned char Typed = 0;
    std::uint32_t Count = 0;
};

namespace chars {
inline constexpr unsigned char CarriageReturn = 13;
inline constexpr unsigned char LineFeed = 10;
inline constexpr unsigned char Pilcrow = 182; // shown for a wrongly typed Enter
} // namespace chars
