#pragma once

#include "history/lessonrecord.h"

#include <string>
#include <vector>

// "Słabe litery": the letters a student gets wrong most.

inline constexpr std::uint32_t kWeakLetterMinimum = 20; // keystrokes before a letter is judged
inline constexpr std::size_t kWeakLetterCount = 6;

// Whether a Windows-1250 byte is a small letter of the Polish alphabet (with
// q, v and x): the words exercise is made of these.
bool isExerciseLetter(unsigned char c);

// Up to six small letters (Windows-1250) from a student's keystrokes summed
// per character: of the letters typed at least 20 times, with a capital
// counting as its small letter, the least accurate, of equal accuracy the
// slowest, of equal both in alphabet order. Empty when no letter was typed
// often enough.
std::string weakLetters(const std::vector<CharTally> &totals);
