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
