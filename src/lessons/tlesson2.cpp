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

bool TLesson2::LoadText(const LessonLibrary &library)
{
    Q_UNUSED(library);
    if (m_lineCount <= 0)
        return false;
    std::string body = randomGroupsBody(m_letters, m_lineCount, m_random);
    if (body.empty()) {
        // Only spaces or characters that no key of a lesson gives were chosen.
        Messages::stop(
            this, QStringLiteral("Stop"), QStringLiteral("Utworzenie ćwiczenia z podanych liter nie było możliwe"));
        return false;
    }
    setLessonText(exerciseText(std::move(body), m_lineCount));
    return true;
}

LessonDescription TLesson2::describe() const
{
    return { LessonKind::Letters, 0, cp1250::toUtf8(m_letters) };
}
