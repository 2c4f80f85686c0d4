#include "lessons/tlesson3.h"

#include "text/cp1250.h"

#include "lessons/lessongroups.h"
#include "lessons/lessonlibrary.h"
#include "lessons/letterexercise.h"
#include "widgets/messages.h"

#include <QGuiApplication>

namespace {

// The busy cursor for as long as it lives, whichever way the work ends.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

TLesson3::TLesson3(QWidget *parent, TOptions &options, std::string letters, int lineCount, Clock &clock)
    : TLesson1(parent, options, 0, clock)
    , m_letters(std::move(letters))
    , m_lineCount(lineCount)
{ }

LoadOutcome TLesson3::LoadText(const LessonLibrary &library)
{
    const std::optional<std::string_view> wordList = library.text(lessongroups::kWordList);
    if (!wordList)
        return LoadProblem::TextMissing;
    if (m_lineCount <= 0)
        return LoadProblem::NoExercise;
    std::optional<std::string> body;
    {
        const BusyCursor busy;
        if (m_allowed.empty()) {
            body = wordsBody(m_letters, m_lineCount, *wordList);
        } else {
            const std::string words = wordsMadeOf(*wordList, m_allowed);
            body = wordsBody(m_letters, m_lineCount, words);
        }
    }
    if (!body)
        return LoadProblem::NoExercise;
    setLessonText(exerciseText(std::move(*body), m_lineCount));
    return {};
}

LessonDescription TLesson3::describe() const
{
    return { LessonKind::Words, 0, cp1250::toUtf8(m_letters) };
}
