#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/modaldismisser.h"
#include "common/testsupport.h"
#include "lessons/tlesson1.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProcess>

class TestLessonFrame : public QObject
{
    Q_OBJECT

    std::unique_ptr<MessageRecorder> m_recorder;

private slots:
    void init() { m_recorder = std::make_unique<MessageRecorder>(); }
    void cleanup() { m_recorder.reset(); }

    void lessonOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("lesson");
        QTest::addColumn<bool>("exitNow");
        QTest::newRow("no option") << QStringList {} << 0 << false;
        QTest::newRow("a lesson number") << QStringList { QStringLiteral("--lesson"), QStringLiteral("1213") } << 1213
                                         << false;
        QTest::newRow("written with =") << QStringList { QStringLiteral("--lesson=1404") } << 1404 << false;
        QTest::newRow("not a number") << QStringList { QStringLiteral("--lesson"), QStringLiteral("abc") } << 0 << true;
        QTest::newRow("zero") << QStringList { QStringLiteral("--lesson"), QStringLiteral("0") } << 0 << true;
        QTest::newRow("negative") << QStringList { QStringLiteral("--lesson=-5") } << 0 << true;
    }

    void lessonOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, lesson);
        QFETCH(bool, exitNow);
        const StartupOptions options = parseCommandLine(QStringList { QStringLiteral("palcomir") } + arguments);
        QCOMPARE(options.lesson, lesson);
        QCOMPARE(options.exitNow, exitNow);
        QCOMPARE(options.exitCode, exitNow ? 2 : 0);
    }

    void badLessonNumberStopsTheProgram()
    {
        QProcess process;
        process.start(QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")),
            { QStringLiteral("--lesson"), QStringLiteral("pierwsza") });
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(process.readAllStandardError()).contains(QStringLiteral("pierwsza")));
    }

    // The stored lesson runs as the client, and its end brings back the
    // main window's own client with an empty status bar.
    void storedLessonRunsToItsEnd()
    {
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        options.lesson = 1201;
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 0);
        SDIDecFrame *frame = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QPointer<TLesson1> lesson = qobject_cast<TLesson1 *>(frame->centralWidget());
        QVERIFY(lesson);
        QCOMPARE(lesson->textNumber(), 1201);
        QApplication::processEvents();
        QCOMPARE(m_recorder->boxes.size(), 1);
        QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Instrukcja"));
        QVERIFY(frame->statusText().startsWith(QStringLiteral("Czas: 00:00:00    0 błędów")));
        QVERIFY(frame->statusText().endsWith(QStringLiteral("1 z 5 linii")));
        // The lesson's rows fit the main window: about seven of them.
        QVERIFY(lesson->engine().lastRowIndex() >= 5);
        QVERIFY(lesson->engine().lastRowIndex() <= 7);

        typeToTheEnd(lesson);
        QVERIFY(lesson->isFinished());
        QVERIFY(frame->statusText().endsWith(QStringLiteral("5 z 5 linii")));
        QApplication::processEvents();
        QVERIFY(!lesson); // destroyed at once
        QCOMPARE(m_recorder->boxes.size(), 2);
        QCOMPARE(m_recorder->boxes[1].kind, Messages::Kind::Plain);
        QCOMPARE(m_recorder->boxes[1].caption, QStringLiteral("Koniec ćwiczenia"));
        QVERIFY(m_recorder->boxes[1].text.contains(QStringLiteral("poprawność - 100.0%.\nBrawo!")));
        QVERIFY(!qobject_cast<TLesson1 *>(frame->centralWidget()));
        QCOMPARE(frame->statusText(), QString());
    }

    // A new lesson replaces a running one; the old one's clean-up must not
    // blank the new one's status.
    void replacingALessonKeepsTheNewStatus()
    {
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        const ModalDismisser dismisser;
        TypingApp app(options);
        QCOMPARE(app.start(), 0);
        SDIDecFrame *frame = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QVERIFY(frame->startStoredLesson(1201));
        QPointer<QWidget> first = frame->centralWidget();
        QApplication::processEvents();
        QVERIFY(frame->startStoredLesson(1213));
        QVERIFY(!first);
        QApplication::processEvents();
        QVERIFY(frame->statusText().endsWith(QStringLiteral("1 z 12 linii")));
    }
};

QTEST_MAIN(TestLessonFrame)
#include "tst_lessonframe.moc"
