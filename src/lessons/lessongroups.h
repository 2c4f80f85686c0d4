#pragma once

// The groups of stored lessons in the lesson library, by their first
// number; a group ends at the first number the library lacks.
namespace lessongroups {

inline constexpr int kFirstLetterLesson = 1; // one lesson a letter, 1 to 47
inline constexpr int kFirstBasicLesson = 1201; // the course of the suggested mode
inline constexpr int kFirstPracticalText = 1301;
inline constexpr int kFirstKeypadDrill = 1401;
inline constexpr int kWordList = 5000; // the words of the word exercise

} // namespace lessongroups
