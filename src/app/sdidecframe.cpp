#include "app/sdidecframe.h"

#include "app/messages.h"
#include "lessons/lessonevents.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"

#include <memory>

#include <QLabel>
#include <QStatusBar>

SDIDecFrame::SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , m_library(library)
    , m_options(options)
{
    setWindowTitle(QStringLiteral("Palcomir"));
    setFixedSize(640, 480);
    // A permanent label: menu hints cover it only while they are shown.
    m_statusLabel = new QLabel(this);
    statusBar()->addWidget(m_statusLabel, 1);
    showPlaceholder();
}

void SDIDecFrame::showPlaceholder()
{
    auto *placeholder = new QLabel(QStringLiteral("Palcomir"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    ReplaceClient(placeholder);
}

void SDIDecFrame::ReplaceClient(QWidget *client)
{
    // QMainWindow would delete the old client later; a lesson's clean-up
    // must run before the new client shows its status.
    std::unique_ptr<QWidget> old(takeCentralWidget());
    old.reset();
    setCentralWidget(client);
}

QString SDIDecFrame::statusText() const
{
    return m_statusLabel->text();
}

bool SDIDecFrame::startStoredLesson(int number)
{
    auto lesson = std::make_unique<TLesson1>(this, m_speed, m_accuracy, m_options, number, m_student);
    if (!lesson->LoadText(m_library)) {
        Messages::stop(this, QStringLiteral("Błąd"), QStringLiteral("Nie można wczytać lekcji %1.").arg(number));
        return false;
    }
    connect(lesson.get(), &TLesson1::statusTextChanged, m_statusLabel, &QLabel::setText);
    TLesson1 *client = lesson.release();
    ReplaceClient(client);
    client->setFocus();
    return true;
}

bool SDIDecFrame::event(QEvent *event)
{
    if (event->type() == LessonFinished) {
        lessonFinished();
        return true;
    }
    return QMainWindow::event(event);
}

void SDIDecFrame::lessonFinished()
{
    // Only the running lesson's first notice counts.
    const auto *lesson = qobject_cast<TLesson1 *>(centralWidget());
    if (!lesson || !lesson->isFinished())
        return;
    Messages::plain(this, QStringLiteral("Koniec ćwiczenia"),
        QStringLiteral("Szybkość: %1 znaków/min.\nDokładność: %2%")
            .arg(QString::number(m_speed, 'f', 1), QString::number(m_accuracy, 'f', 1)));
    showPlaceholder();
}
