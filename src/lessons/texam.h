#pragma once

#include "lessons/tlesson1.h"

// "Sprawdzian": a practical text of the library copied until the set time
// runs out (or the text ends), with the error mode the teacher chose and no
// pause.
class TExam : public TLesson1
{
    Q_OBJECT

public:
    TExam(QWidget *parent, TOptions &options, int textNumber, int seconds, ErrorMode mode,
        Clock &clock = SteadyClock::instance());

    LessonDescription describe() const override;
    void TogglePause() override;
    int seconds() const { return m_seconds; }
    // The speed over the exam's whole time, pauses in typing included.
    LessonResults results() const override;

protected:
    ErrorMode errorMode() const override { return m_mode; }
    void secondPassed() override;
    float speedTime() const override;

private:
    int m_seconds;
    ErrorMode m_mode;
};
