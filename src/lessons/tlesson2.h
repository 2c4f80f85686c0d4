#pragma once

#include "lessons/randomsource.h"
#include "lessons/tlesson1.h"

#include <string>

// A lesson of random groups of the letters the learner chose: as many lines
// as asked for, each 76 characters long. It has no instruction.
class TLesson2 : public TLesson1
{
    Q_OBJECT

public:
    LessonDescription describe() const override;
    // letters: the chosen characters (Windows-1250); one listed twice comes
    // twice as often. random: where the groups are drawn from.
    TLesson2(QWidget *parent, TOptions &options, std::string letters, int lineCount,
        RandomSource &random = StdRandomSource::instance(), Clock &clock = SteadyClock::instance());

    // Makes the lines; the library is not needed. False, after telling the
    // learner, when none of the letters can be practised this way.
    LoadOutcome LoadText(const LessonLibrary &library) override;

    const std::string &letters() const { return m_letters; }
    int lineCount() const { return m_lineCount; }

private:
    std::string m_letters;
    int m_lineCount;
    RandomSource &m_random;
};
