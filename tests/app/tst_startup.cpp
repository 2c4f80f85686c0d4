#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "common/messagerecorder.h"
#include "common/modaldismisser.h"
#include "common/testsupport.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString writeLibrary(const QTemporaryDir &dir, const LessonLibrary &library)
{
    const QString path = dir.filePath(QStringLiteral("pisarz.src"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const std::string packed = library.serialize();
    file.write(packed.data(), static_cast<qint64>(packed.size()));
    return path;
}

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

    void startsWithTheBuiltLibrary()
    {
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 0);
        QVERIFY(m_recorder->boxes.isEmpty());
        QVERIFY(app.mainWindow());
        QCOMPARE(app.mainWindow()->windowTitle(), QStringLiteral("Palcomir"));
        QVERIFY(app.mainWindow()->isVisible());
    }

    void missingLibraryNamesWhereItLooked()
    {
        QTemporaryDir dir;
        StartupOptions options;
        options.libraryFile = dir.filePath(QStringLiteral("brak.src"));
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 1);
        QVERIFY(!app.mainWindow());
        QCOMPARE(m_recorder->boxes.size(), 1);
        QCOMPARE(m_recorder->boxes[0].kind, Messages::Kind::Stop);
        QVERIFY(m_recorder->boxes[0].text.contains(QStringLiteral("pisarz.src")));
        QVERIFY(m_recorder->boxes[0].text.contains(dir.filePath(QStringLiteral("brak.src"))));
    }

    void damagedLibraryIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pisarz.src"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("to nie jest biblioteka");
        file.close();
        StartupOptions options;
        options.libraryFile = path;
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 1);
        QCOMPARE(m_recorder->boxes.size(), 1);
        QVERIFY(m_recorder->boxes[0].text.contains(path));
    }

    void libraryWithoutTheFirstLesson()
    {
        QTemporaryDir dir;
        LessonLibrary library;
        library.addText(1202, crlf("Opis\nabc"));
        StartupOptions options;
        options.libraryFile = writeLibrary(dir, library);
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 1);
        QVERIFY(!app.mainWindow());
        QCOMPARE(m_recorder->boxes.size(), 1);
        QCOMPARE(m_recorder->boxes[0].kind, Messages::Kind::Stop);
        QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(m_recorder->boxes[0].text, QStringLiteral("Nie odnaleziono lekcji"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("printed");
        QTest::newRow("help") << QStringList { QStringLiteral("--help") } << 0 << QStringLiteral("--data-dir");
        QTest::newRow("version") << QStringList { QStringLiteral("--version") } << 0 << QStringLiteral("Palcomir 0.");
        QTest::newRow("unknown option") << QStringList { QStringLiteral("--bogus") } << 2 << QStringLiteral("bogus");
    }

    // The program itself, as a user starts it.
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QProcess process;
        process.start(executable(), arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
        QVERIFY2(output.contains(printed), qPrintable(output));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
