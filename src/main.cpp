#include "app/appstyle.h"
#include "app/commandline.h"
#include "app/exitsignals.h"
#include "app/fontwarmup.h"
#include "app/typingapp.h"
#include "lessons/clock.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QTranslator>

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

    FontWarmUp fonts;
    QApplication app(argc, argv);
    // The style the desktop, QT_STYLE_OVERRIDE or -style chose.
    QApplication::setStyle(new AppStyle(QApplication::style()->name()));
    const ExitSignals exitSignals; // a logout or Ctrl+C ends the run like closing the window
    QCoreApplication::setApplicationName(QStringLiteral("palcomir"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PALCOMIR_VERSION));

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
