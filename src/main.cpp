#include "app/appstyle.h"
#include "app/classreport.h"
#include "app/commandline.h"
#include "app/exitsignals.h"
#include "app/fontwarmup.h"
#include "app/passwordprompt.h"
#include "app/typingapp.h"
#include "lessons/clock.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

namespace {

// While the display is being opened, Qt's complaints wait here: without a
// display the learner reads one Polish line and the program ends with 1, not
// with an abort and a page of English.
QtMessageHandler g_qtHandler = nullptr;
struct HeldMessage {
    QtMsgType type;
    const char *category;
    QString text;
};
QList<HeldMessage> g_held;

void whileOpeningDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("Nie można otworzyć okna programu: brak połączenia z ekranem (zmienna DISPLAY).\n", stderr);
        std::_Exit(1);
    }
    g_held.append({ type, context.category, message });
}

void displayOpened()
{
    qInstallMessageHandler(g_qtHandler);
    for (const HeldMessage &held : std::as_const(g_held))
        qt_message_output(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category), held.text);
    g_held.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    SteadyClock::instance().now(); // the lesson clock counts from here

    // The menu stays in the window: a desktop's global menu bar would take it
    // away from the learner, and asking the session bus for one delays start-up.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // Read before the display is opened: --help and --version work in a plain
    // terminal, and a command line the program cannot follow opens no window.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartupOptions options = parseCommandLine(arguments);
    if (options.exitNow)
        return options.exitCode;
    if (options.teacherPassword)
        return printTeacherPassword(stdin, stdout, stderr);
    // The report needs no display: a teacher may run it over ssh or from cron.
    if (!options.reportFile.isEmpty()) {
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("palcomir"));
        return ClassReport::writeCsv(options);
    }

    // Qt's own dialogs show dates and sizes (the file dialog's columns) by
    // the system locale, which Qt reads from the environment; on a classroom
    // PC it may be C or English. Those two categories are Polish here, the
    // others stay the user's.
    if (const QByteArray all = qgetenv("LC_ALL"); !all.isEmpty()) {
        qputenv("LANG", all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "pl_PL.UTF-8");
    qputenv("LC_NUMERIC", "pl_PL.UTF-8");

    FontWarmUp fonts;
    g_qtHandler = qInstallMessageHandler(whileOpeningDisplay);
    QApplication app(argc, argv);
    displayOpened();
    // The style the desktop, QT_STYLE_OVERRIDE or -style chose.
    QApplication::setStyle(new AppStyle(QApplication::style()->name()));
    const ExitSignals exitSignals; // a logout or Ctrl+C ends the run like closing the window
    QCoreApplication::setApplicationName(QStringLiteral("palcomir"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PALCOMIR_VERSION));

    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTranslator qtPolish;
    if (qtPolish.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtPolish);

    fonts.wait(); // Qt would otherwise start loading it a second time
    TypingApp typingApp(options);
    const int status = typingApp.start();
    if (status != 0 || !typingApp.mainWindow())
        return status;
    return QApplication::exec();
}
