#pragma once

#include "history/lessonrecord.h"

class LessonLibrary;

#include <string>
#include <string_view>
#include <vector>

// "Słabe litery": the letters a student gets wrong most.

inline constexpr std::uint32_t kWeakLetterMinimum = 20; // keystrokes before a letter is judged
inline constexpr std::size_t kWeakLetterCount = 6;

// Whether a Windows-1250 byte is a small letter of the Polish alphabet (with
// q, v and x): the words exercise is made of these.
bool isExerciseLetter(unsigned char c);

// The small letters (Windows-1250, alphabet order) of the course's lessons
// before `nextLesson`, the lessons a student there has been through; a
// capital counts as its small letter. Instructions are not lessons' text.
std::string taughtLetters(const LessonLibrary &library, int nextLesson);

// Up to six of the `taught` small letters (Windows-1250) from a student's
// keystrokes summed per character: of the letters met at least 20 times,
// with a capital counting as its small letter, the least accurate, of equal
// accuracy the slowest, of equal both in alphabet order. A place of the text
// missed counts as one error however many keys it took. Empty when no
// taught letter was met often enough.
std::string weakLetters(const std::vector<CharTally> &totals, std::string_view taught);
