#include "app/sdidecframe.h"

#include "app/apppaths.h"
#include "app/messages.h"
#include "lessons/lessonevents.h"
#include "lessons/lessonlibrary.h"
#include "lessons/tlesson1.h"
#include "settings/toptions.h"
#include "students/tstuddlg.h"

#include <memory>

#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

SDIDecFrame::SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , m_library(library)
    , m_options(options)
    , m_studentStore(AppPaths::studentsFile())
{
    Roster = m_studentStore.load();
    m_options.StudentNo = validStudentNo(m_options.StudentNo, Roster.count());
    if (const QString problem = m_studentStore.problem(); !problem.isEmpty()) {
        // Told once the window is up, so start-up itself never waits on a box.
        QTimer::singleShot(0, this, [this, problem] { Messages::stop(this, QStringLiteral("Palcomir"), problem); });
    }

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

TStudent &SDIDecFrame::lessonStudent()
{
    if (m_options.StudentNo >= 0 && m_options.StudentNo < Roster.count())
        return Roster.at(m_options.StudentNo);
    m_anonymous = TStudent();
    return m_anonymous;
}

bool SDIDecFrame::startStoredLesson(int number)
{
    auto lesson = std::make_unique<TLesson1>(this, m_speed, m_accuracy, m_options, number, lessonStudent());
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
    if (m_options.StudentNo != -1)
        saveStudentsAfterChange();
    Messages::plain(this, QStringLiteral("Koniec ćwiczenia"),
                    QStringLiteral("Szybkość: %1 znaków/min.\nDokładność: %2%")
                        .arg(QString::number(m_speed, 'f', 1), QString::number(m_accuracy, 'f', 1)));
    showPlaceholder();
}

bool SDIDecFrame::saveStudents()
{
    return m_studentStore.save(Roster);
}

void SDIDecFrame::saveStudentsAfterChange()
{
    // A list the store protects has been explained already at start-up.
    if (saveStudents() || !m_studentStore.writable() || m_toldSaveFailed)
        return;
    m_toldSaveFailed = true;
    Messages::stop(this, QStringLiteral("Palcomir"),
                   QStringLiteral("Nie można zapisać listy uczniów do pliku %1.")
                       .arg(QDir::toNativeSeparators(m_studentStore.path())));
}

void SDIDecFrame::openRegistration()
{
    TStudDlg dialog(this, Roster, m_options, m_options.StudentNo);
    connect(&dialog, &TStudDlg::listChanged, this, &SDIDecFrame::saveStudentsAfterChange);
    dialog.exec();
    m_options.StudentNo = validStudentNo(m_options.StudentNo, Roster.count());
}
