#pragma once

#include "lessons/lessontext.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class RandomSource;

// Exercises made at run time from the letters a learner wants to practise.
// Every line, the last one too, ends with CR LF.

inline constexpr int kExerciseLineWidth = 76;

// Lines of random groups of the chosen letters (a letter chosen twice comes
// twice as often): exactly 76 characters, never beginning or ending with a
// space, never two spaces in a row. Only characters a lesson can be typed
// with are used: a space (the groups are separated by spaces anyway) or a
// character no key of a lesson gives would spoil the lines or stop the
// learner for good. Nothing when no letter is left.
std::string randomGroupsBody(std::string_view letters, int lineCount, RandomSource &random);

// Lines of words from the word list (words separated by spaces), the words
// made only of chosen letters first, then those with the next lower share of
// chosen letters, and so on; the words repeat until the lines are full.
// Nothing when no word holds any chosen letter. onWordTaken is told the
// number of words taken so far, for a busy indicator.
std::optional<std::string> wordsBody(std::string_view letters, int lineCount, std::string_view wordList,
    const std::function<void(int taken)> &onWordTaken = {});

// The words of a word list (separated by spaces) made only of `allowed`
// characters, in their order, separated by single spaces.
std::string wordsMadeOf(std::string_view wordList, std::string_view allowed);

// A generated exercise as a lesson loads it: no instruction, text number 0,
// the body's positions at its start, and as many lines as were asked for
// (the empty line after the final line break is never typed).
LessonText exerciseText(std::string body, int lineCount);
