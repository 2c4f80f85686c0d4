#include "lessons/tlesson5.h"

#include "lessons/lessontext.h"
#include "lessons/owntext.h"

#include <QFile>
#include <QFileInfo>

TLesson5::TLesson5(QWidget *parent, TOptions &options, QString fileName, Clock &clock)
    : TLesson1(parent, options, 0, clock)
    , m_fileName(std::move(fileName))
{ }

LoadOutcome TLesson5::LoadText(const LessonLibrary &library)
{
    Q_UNUSED(library);
    QFile file(m_fileName);
    // Never creates the file. Only a regular file is read: a directory or a
    // missing file does not open, a named pipe would wait for a writer for
    // ever and a device has no text.
    if (!QFileInfo(m_fileName).isFile() || !file.open(QIODevice::ReadOnly))
        return LoadProblem::BadFile;
    const QByteArray bytes = file.read(qint64(kOwnTextReadLimit));
    if (file.error() != QFileDevice::NoError)
        return LoadProblem::BadFile;
    const std::optional<std::string> converted
        = ownTextToCp1250(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!converted)
        return LoadProblem::BadFile;
    OwnText own = cutOwnText(*converted);
    // A file with nothing to type would start a lesson that cannot end.
    if (own.lineCount == 0)
        return LoadProblem::BadFile;
    LessonText text;
    text.setBody(std::move(own.body));
    text.lineCount = own.lineCount;
    setLessonText(std::move(text));
    return {};
}

LessonDescription TLesson5::describe() const
{
    return { LessonKind::OwnText, 0, QFileInfo(m_fileName).fileName().toStdString() };
}
