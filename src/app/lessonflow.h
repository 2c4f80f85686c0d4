#pragma once

// What follows a lesson: the rules of the suggested mode and of the other
// ways a lesson is started.
namespace lessonflow {

// Where the running lesson came from.
enum class LessonSource {
    Suggested, // the student's next lesson of the course
    Chosen, // a stored lesson picked from a list (or given at start)
    Exercise, // letters, a single letter or an own text
    Exam, // "Sprawdzian"
};

// The learner's answer to the end-of-lesson dialog of the suggested mode.
enum class EndAnswer { Next, No, Repeat, Closed };

// The verdict of a suggested lesson offers the next one; any other ends
// with a plain verdict and the title screen.
constexpr bool offersNextLesson(LessonSource source)
{
    return source == LessonSource::Suggested;
}

struct NextStep {
    int nextLesson = 0; // the student's NextLesson from now on
    int startLesson = 0; // the lesson to start now; 0 for the title screen
};

// After a suggested lesson (the student's `nextLesson`) and the learner's
// answer: Tak moves the course on and starts the next lesson, Nie moves it
// on and goes to the title screen, Powtórz starts the same lesson again, and
// closing the dialog changes nothing. Past the last lesson of the course
// (`lessonLimit` is one past it) the title screen is shown. A lesson short
// of the teacher's minimal accuracy (`passed` false) does not move the
// course on: Tak starts the same lesson again.
NextStep afterSuggestedLesson(int nextLesson, EndAnswer answer, int lessonLimit, bool passed = true);

// Whether the suggested command has a lesson for a student whose next lesson
// is `nextLesson`: a finished course has none.
bool hasSuggestedLesson(int nextLesson, int lessonLimit);

} // namespace lessonflow
