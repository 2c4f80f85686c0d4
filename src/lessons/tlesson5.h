#pragma once

#include "lessons/tlesson1.h"

#include <QString>

// A lesson made from a text file of the learner's own, cut into exercise
// lines of at most 70 characters. It has no instruction.
class TLesson5 : public TLesson1
{
    Q_OBJECT

public:
    LessonDescription describe() const override;
    TLesson5(QWidget *parent, TOptions &options, QString fileName, Clock &clock = SteadyClock::instance());

    // Reads the file; the library is not needed. False when the file cannot
    // be opened or read. A file with no line to type loads an empty text,
    // which the first key ends.
    LoadOutcome LoadText(const LessonLibrary &library) override;

    const QString &fileName() const { return m_fileName; }

private:
    QString m_fileName;
};
