#include "lessons/texam.h"

TExam::TExam(QWidget *parent, TOptions &options, int textNumber, int seconds, ErrorMode mode, Clock &clock)
    : TLesson1(parent, options, textNumber, clock)
    , m_seconds(seconds)
    , m_mode(mode)
{ }

LessonDescription TExam::describe() const
{
    LessonDescription description = TLesson1::describe();
    description.kind = LessonKind::Exam;
    return description;
}

// The time of an exam runs without a break.
void TExam::TogglePause()
{ }

void TExam::secondPassed()
{
    if (int(engine().seconds()) >= m_seconds)
        FinishLesson();
}

float TExam::speedTime() const
{
    return float(engine().seconds()) * 1000.0F;
}

LessonResults TExam::results() const
{
    LessonResults r = TLesson1::results();
    r.speed = typingSpeed(engine().typedCount(), speedTime());
    return r;
}
