#pragma once

#include <string>

// Which kind of lesson it was; the numbers are stored in the history.
enum class LessonKind : int {
    Stored = 0, // a lesson of the library: the course, a letter, a practical text
    Letters = 1, // a letters exercise of chosen letters
    Words = 2, // a words exercise of chosen letters
    Keypad = 3, // a numeric keypad drill
    OwnText = 4, // the learner's own text file
    Exam = 5, // "Sprawdzian": a practical text copied for a set time
};

// Why a lesson's text could not be made; the window that starts the lesson
// tells the learner.
enum class LoadProblem {
    None,
    TextMissing, // the library lacks the lesson's text (or the word list)
    NoExercise, // the chosen letters give no exercise
    BadFile, // an own text file that cannot be read or holds no text
};

// The outcome of loading a lesson's text: true when it was made.
struct LoadOutcome {
    LoadProblem problem = LoadProblem::None;
    LoadOutcome() = default;
    LoadOutcome(LoadProblem p)
        : problem(p)
    { }
    explicit operator bool() const { return problem == LoadProblem::None; }
};

// What a lesson was, as the history names it.
struct LessonDescription {
    LessonKind kind = LessonKind::Stored;
    int number = 0; // the library's number; 0 for exercises and own texts
    std::string detail; // UTF-8: the exercise's letters or the own text's file name
};
