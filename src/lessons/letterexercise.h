#pragma once

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
// space, never two spaces in a row.
std::string randomGroupsBody(std::string_view letters, int lineCount, RandomSource &random);

// Lines of words from the word list (words separated by spaces), the words
// made only of chosen letters first, then those with the next lower share of
// chosen letters, and so on; the words repeat until the lines are full.
// Nothing when no word holds any chosen letter. onWordTaken is told the
// number of words taken so far, for a busy indicator.
std::optional<std::string> wordsBody(std::string_view letters, int lineCount, std::string_view wordList,
                                     const std::function<void(int taken)> &onWordTaken = {});
