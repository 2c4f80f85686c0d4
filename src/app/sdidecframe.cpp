#include "app/sdidecframe.h"

#include "app/apppaths.h"
#include "app/messages.h"
#include "lessons/lessonlibrary.h"
#include "settings/toptions.h"
#include "students/tstuddlg.h"

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
    auto *placeholder = new QLabel(QStringLiteral("Palcomir"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    statusBar();
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
