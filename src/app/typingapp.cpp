#include "app/typingapp.h"

#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "app/singleinstance.h"
#include "classroom/classroom.h"
#include "lessons/lessongroups.h"
#include "lessons/librarylocator.h"
#include "settings/settingsfile.h"
#include "students/tstudent.h"
#include "widgets/messages.h"

#include <cstdio>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>

namespace {

constexpr int kExitStartupFailed = 1;

void printLine(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// A lesson a learner can run: one of a group of stored lessons, not the word list.
bool isStoredLesson(const LessonLibrary &library, int number)
{
    for (const int first : { lessongroups::kFirstLetterLesson, lessongroups::kFirstBasicLesson,
             lessongroups::kFirstPracticalText, lessongroups::kFirstKeypadDrill }) {
        if (number >= first && number < first + library.countGroup(first))
            return true;
    }
    return false;
}
} // namespace

TypingApp::TypingApp(StartupOptions options)
    : m_options(std::move(options))
{ }

TypingApp::~TypingApp()
{
    saveAll();
}

void TypingApp::saveAll()
{
    if (m_frame)
        m_frame->classroom().close();
    if (m_settingsLoaded)
        SettingsFile::save(AppPaths::settingsFile(), m_settings, m_rules);
}

int TypingApp::start()
{
    if (!m_options.dataDir.isEmpty() && !AppPaths::setDataDir(m_options.dataDir)) {
        const QString text = QStringLiteral("Nie można utworzyć folderu danych %1.").arg(m_options.dataDir);
        printLine(stderr, text);
        Messages::stop(nullptr, QStringLiteral("Błąd"), text);
        return kExitStartupFailed;
    }

    m_settings = SettingsFile::load(AppPaths::settingsFile(), AppPaths::defaultsFiles(), &m_rules, &m_lab);

    LibraryLocator::Result found = LibraryLocator::load(m_options.libraryFile);
    if (!found.library) {
        printLine(stderr, found.errorMessage);
        Messages::stop(nullptr, QStringLiteral("Błąd"), found.errorMessage);
        return kExitStartupFailed;
    }
    m_library = std::move(found.library);
    if (m_options.lesson > 0 && !isStoredLesson(*m_library, m_options.lesson)) {
        printLine(stderr,
            QStringLiteral("Biblioteka lekcji %1 nie ma lekcji %2. Opcje programu opisuje palcomir --help.")
                .arg(found.path)
                .arg(m_options.lesson));
        return kExitUsage;
    }

    // One Palcomir per user and data folder: a second start brings the first forward.
    m_instance
        = std::make_unique<SingleInstance>(SingleInstance::keyFor(QFileInfo(AppPaths::studentsFile()).absolutePath()));
    if (m_instance->askRunningToActivate())
        return 0;
    m_instance->listen();
    m_settingsLoaded = true;

    if (m_library->countGroup(lessongroups::kFirstBasicLesson) == 0) {
        Messages::stop(nullptr, QStringLiteral("Błąd"), QStringLiteral("Nie odnaleziono lekcji"));
        return kExitStartupFailed;
    }

    m_frame = std::make_unique<SDIDecFrame>(*m_library, m_settings, m_lab);
    m_frame->setTeacherRules(m_rules);
    // The session manager may end the process right after asking for the
    // data, so everything is written now.
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, m_frame.get(), [this] { saveAll(); });
    QObject::connect(m_instance.get(), &SingleInstance::activationRequested, m_frame.get(), [frame = m_frame.get()] {
        // Back from the task bar as it was: in a window or on the full screen.
        if (frame->isMinimized())
            frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
        frame->raise();
        frame->activateWindow();
    });
    // Placed before it is shown, so that a dialog opening at once (the
    // registration) is centred over where the window really is.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_frame->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_frame->move(frame.topLeft());
    }
    m_frame->show();
    if (m_options.lesson > 0)
        m_frame->startStoredLesson(m_options.lesson);
    else if (m_settings.ShowAfaterStart)
        QTimer::singleShot(
            0, m_frame.get(), [frame = m_frame.get()] { frame->runCommand(SDIDecFrame::CmRegistration); });
    return 0;
}
