#pragma once

#include "lessons/tlesson1.h"

#include <string>

// A lesson of words from the word list: first the words made only of the
// letters the learner chose, then those with fewer and fewer of them,
// repeated until the lines are full. It has no instruction.
class TLesson3 : public TLesson1
{
    Q_OBJECT

public:
    LessonDescription describe() const override;
    // letters: the chosen characters (Windows-1250).
    TLesson3(
        QWidget *parent, TOptions &options, std::string letters, int lineCount, Clock &clock = SteadyClock::instance());

    // Gathers the words under a busy cursor. False without a word list, and,
    // after telling the learner, when no word holds any chosen letter.
    LoadOutcome LoadText(const LessonLibrary &library) override;

    const std::string &letters() const { return m_letters; }
    // Takes only words made of these letters (Windows-1250); all words when empty.
    void keepToLetters(std::string allowed) { m_allowed = std::move(allowed); }
    int lineCount() const { return m_lineCount; }

private:
    std::string m_letters;
    std::string m_allowed;
    int m_lineCount;
};
