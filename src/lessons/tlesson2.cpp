#include "lessons/tlesson2.h"

#include "text/cp1250.h"

#include "lessons/letterexercise.h"
#include "widgets/messages.h"

TLesson2::TLesson2(
    QWidget *parent, TOptions &options, std::string letters, int lineCount, RandomSource &random, Clock &clock)
    : TLesson1(parent, options, 0, clock)
    , m_letters(std::move(letters))
    , m_lineCount(lineCount)
    , m_random(random)
{ }

LoadOutcome TLesson2::LoadText(const LessonLibrary &library)
{
    Q_UNUSED(library);
    if (m_lineCount <= 0)
        return LoadProblem::NoExercise;
    std::string body = randomGroupsBody(m_letters, m_lineCount, m_random);
    // Only spaces or characters that no key of a lesson gives were chosen.
    if (body.empty())
        return LoadProblem::NoExercise;
    setLessonText(exerciseText(std::move(body), m_lineCount));
    return {};
}

LessonDescription TLesson2::describe() const
{
    return { LessonKind::Letters, 0, cp1250::toUtf8(m_letters) };
}
