#include "app/typingapp.h"

#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "app/singleinstance.h"
#include "lessons/librarylocator.h"
#include "settings/settingsfile.h"
#include "students/tstudent.h"
#include "widgets/messages.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>

namespace {

constexpr int kExitStartupFailed = 1;

void printLine(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}
} // namespace

StartupOptions parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Palcomir - nauka pisania bezwzrokowego na klawiaturze."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Pokazuje ten opis i kończy."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("Pokazuje wersję programu i kończy."));
    const QCommandLineOption library(QStringLiteral("library"),
        QStringLiteral("Biblioteka lekcji do użycia zamiast pisarz.src obok programu."), QStringLiteral("PLIK"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
        QStringLiteral("Folder na ustawienia (pisarz.ini) i listę uczniów (pisarz.sta)."), QStringLiteral("FOLDER"));
    const QCommandLineOption lesson(QStringLiteral("lesson"),
        QStringLiteral("Uruchamia od razu zapisaną lekcję o tym numerze (np. 1201)."), QStringLiteral("NUMER"));
    parser.addOptions({ help, version, library, dataDir, lesson });

    StartupOptions options;
    if (!parser.parse(arguments)) {
        printLine(stderr, parser.errorText());
        printLine(stderr, QStringLiteral("Użyj --help, aby zobaczyć dostępne opcje."));
        options.exitNow = true;
        options.exitCode = 2;
        return options;
    }
    if (parser.isSet(help)) {
        printLine(stdout, parser.helpText());
        options.exitNow = true;
        return options;
    }
    if (parser.isSet(version)) {
        printLine(stdout, QStringLiteral("Palcomir %1").arg(QCoreApplication::applicationVersion()));
        options.exitNow = true;
        return options;
    }
    options.libraryFile = parser.value(library);
    options.dataDir = parser.value(dataDir);
    if (parser.isSet(lesson)) {
        bool ok = false;
        options.lesson = parser.value(lesson).toInt(&ok);
        if (!ok || options.lesson <= 0) {
            printLine(stderr, QStringLiteral("Nieprawidłowy numer lekcji: %1").arg(parser.value(lesson)));
            options.lesson = 0;
            options.exitNow = true;
            options.exitCode = 2;
        }
    }
    return options;
}

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
        m_frame->saveStudents();
    if (m_settingsLoaded)
        SettingsFile::save(AppPaths::settingsFile(), m_settings);
}

int TypingApp::start()
{
    if (!m_options.dataDir.isEmpty() && !AppPaths::setDataDir(m_options.dataDir)) {
        const QString text = QStringLiteral("Nie można utworzyć folderu danych %1.").arg(m_options.dataDir);
        printLine(stderr, text);
        Messages::stop(nullptr, QStringLiteral("Błąd"), text);
        return kExitStartupFailed;
    }

    m_settings = SettingsFile::load(AppPaths::settingsFile());

    LibraryLocator::Result found = LibraryLocator::load(m_options.libraryFile);
    if (!found.library) {
        printLine(stderr, found.errorMessage);
        Messages::stop(nullptr, QStringLiteral("Błąd"), found.errorMessage);
        return kExitStartupFailed;
    }
    m_library = std::move(found.library);

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

    m_frame = std::make_unique<SDIDecFrame>(*m_library, m_settings);
    // The session manager may end the process right after asking for the
    // data, so everything is written now.
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, m_frame.get(), [this] { saveAll(); });
    QObject::connect(m_instance.get(), &SingleInstance::activationRequested, m_frame.get(), [frame = m_frame.get()] {
        if (frame->isMinimized())
            frame->showNormal();
        frame->raise();
        frame->activateWindow();
    });
    m_frame->show();
    if (m_options.lesson > 0)
        m_frame->startStoredLesson(m_options.lesson);
    else if (m_settings.ShowAfaterStart)
        QTimer::singleShot(
            0, m_frame.get(), [frame = m_frame.get()] { frame->runCommand(SDIDecFrame::CmRegistration); });
    return 0;
}
