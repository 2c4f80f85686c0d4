#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "common/messagerecorder.h"
#include "common/modaldismisser.h"
#include "common/testsupport.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString executable()
{
    return QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE"));
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<MessageRecorder> m_recorder;

private slots:
    // The program saves its files at exit; keep them out of the real home folder.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }
    void cleanup() { m_recorder.reset(); }

    void start_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stop");

        LessonLibrary withoutFirstLesson;
        withoutFirstLesson.addText(1202, crlf("Opis\nabc"));
        const std::string packed = withoutFirstLesson.serialize();

        // fileName: the library in a temporary folder, or the built one when
        // empty; a null contents writes no file. stop: what the one stop box
        // must match, %1 the library's path; empty when no box may show.
        QTest::newRow("built library") << QString() << QByteArray() << 0 << QString();
        QTest::newRow("missing library names where it looked")
            << QStringLiteral("brak.src") << QByteArray() << 1 << QStringLiteral("pisarz\\.src.*%1");
        QTest::newRow("damaged library") << QStringLiteral("pisarz.src") << QByteArray("to nie jest biblioteka") << 1
                                         << QStringLiteral("%1");
        QTest::newRow("library without the first lesson")
            << QStringLiteral("pisarz.src") << QByteArray(packed.data(), qsizetype(packed.size())) << 1
            << QStringLiteral("^Nie odnaleziono lekcji$");
    }

    void start()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, contents);
        QFETCH(int, exitCode);
        QFETCH(QString, stop);
        QTemporaryDir dir;
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        if (!fileName.isEmpty()) {
            options.libraryFile = dir.filePath(fileName);
            QFile file(options.libraryFile);
            if (!contents.isNull())
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), exitCode);
        if (stop.isEmpty()) {
            QVERIFY(m_recorder->boxes.isEmpty());
        } else {
            QCOMPARE(m_recorder->boxes.size(), 1);
            const Box &box = m_recorder->boxes[0];
            QCOMPARE(box.kind, Messages::Kind::Stop);
            QCOMPARE(box.caption, QStringLiteral("Błąd"));
            const QRegularExpression said(stop.arg(QRegularExpression::escape(options.libraryFile)),
                QRegularExpression::DotMatchesEverythingOption);
            QVERIFY2(said.match(box.text).hasMatch(), qPrintable(box.text));
        }
        if (exitCode != 0) {
            QVERIFY(!app.mainWindow());
            return;
        }
        QVERIFY(app.mainWindow());
        QCOMPARE(app.mainWindow()->windowTitle(), QStringLiteral("Palcomir"));
        QVERIFY(app.mainWindow()->isVisible());
    }

    // A teacher's pisarz.ini in the system's configuration folders sets up a
    // new user; the first folder of XDG_CONFIG_DIRS counts most.
    void teacherDefaultsReachANewUser()
    {
        QTemporaryDir dir;
        const QByteArray first = "[Sounds]\nClick=No\n";
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("a/palcomir"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("b/palcomir"))));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("a/palcomir/pisarz.ini")), first));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("b/palcomir/pisarz.ini")), "[Sounds]\nClick=Yes\nType=1\n"));
        const QByteArray saved = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS",
            (dir.filePath(QStringLiteral("a")) + u':' + dir.filePath(QStringLiteral("b"))).toLocal8Bit());
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        options.dataDir = dir.filePath(QStringLiteral("home"));
        {
            const ModalDismisser dismisser;
            TypingApp app(options);
            QCOMPARE(app.start(), 0);
            QCOMPARE(app.options().Click, false);
            QCOMPARE(app.options().Type, 1);
        }
        saved.isNull() ? qunsetenv("XDG_CONFIG_DIRS") : qputenv("XDG_CONFIG_DIRS", saved);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("a/palcomir/pisarz.ini"))), first);
        QVERIFY(readAll(dir.filePath(QStringLiteral("home/pisarz.ini"))).contains("Click=No"));
    }

    // printed: a pattern for standard output (status 0) or for the one line
    // on standard error (status 2). Without a window system the program must
    // still answer, and leave the home folder as it found it.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<bool>("windowSystem");
        const auto row = [](const char *name, QStringList arguments, int exitCode, const char *printed,
                             bool windowSystem = false) {
            QTest::newRow(name) << arguments << exitCode << QString::fromUtf8(printed) << windowSystem;
        };
        row("help", { "--help" }, 0,
            "^Użycie: palcomir \\[OPCJE\\]\n.*--data-dir FOLDER.*--lesson NUMER.*--report PLIK");
        row("short help", { "-h" }, 0, "^Użycie: ");
        row("version", { "--version" }, 0, "^Palcomir \\d+\\.\\d+\\.\\d+\n$");
        row("version after other options", { "--lesson", "1201", "-v" }, 0, "^Palcomir ");
        row("unknown option", { "--bogus" }, 2, "^Nieznana opcja: --bogus\\.");
        row("unknown short option", { "-x" }, 2, "^Nieznana opcja: -x\\.");
        row("a stray argument", { "plik.txt" }, 2, "^Nieoczekiwany argument: plik\\.txt\\.");
        row("a value missing", { "--library" }, 2, "^Opcja --library wymaga wartości\\.");
        row("lesson not a number", { "--lesson", "abc" }, 2, "^Nieprawidłowy numer lekcji: abc\\.");
        row("lesson beyond every group", { "--lesson", "99999" }, 2, "^Nieprawidłowy numer lekcji: 99999\\.");
        row("the word list is no lesson", { "--lesson=5000" }, 2, "^Nieprawidłowy numer lekcji: 5000\\.");
        row("data folder on a file", { "--data-dir", "/etc/passwd" }, 2,
            "^Folder danych /etc/passwd nie jest folderem\\.");
        row("report from a day not in the calendar", { "--report", "r.csv", "--from", "2026-02-30" }, 2,
            "^Nieprawidłowa data: 2026-02-30 ");
        row("report to a day in another form", { "--report", "r.csv", "--to=1.03.2026" }, 2,
            "^Nieprawidłowa data: 1\\.03\\.2026 ");
        row("report days the wrong way round", { "--report", "r.csv", "--from", "2026-03-02", "--to", "2026-03-01" }, 2,
            "^Raport od 2026-03-02 do 2026-03-01: pierwszy dzień jest po ostatnim\\.");
        row("days without a report", { "--to", "2026-03-01" }, 2, "^Opcje --from i --to działają tylko z --report\\.");
        row("no display", {}, 1, "^Nie można otworzyć okna programu: brak połączenia z ekranem");
        row("lesson the library lacks", { "--lesson", "1299" }, 2,
            "^Biblioteka lekcji .*pisarz\\.src nie ma lekcji 1299\\.", true);
    }

    // The program itself, as a user starts it in a terminal.
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(bool, windowSystem);
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME",
                 "XDG_DATA_HOME", "XDG_CACHE_HOME" })
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("HOME"), home.path());
        if (windowSystem) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(executable(), arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        const QString said = exitCode == 0 ? out : err;
        QVERIFY2(QRegularExpression(printed, QRegularExpression::DotMatchesEverythingOption).match(said).hasMatch(),
            qPrintable(said));
        QVERIFY2((exitCode == 0 ? err : out).isEmpty(), qPrintable(err + out));
        if (exitCode != 0)
            QVERIFY2(err.endsWith(QLatin1Char('\n')) && err.count(QLatin1Char('\n')) == 1, qPrintable(err));
        if (!windowSystem)
            QCOMPARE(
                QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
