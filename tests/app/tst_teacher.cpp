#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "app/examresultdlg.h"
#include "classroom/classroom.h"
#include "common/appstart.h"
#include "text/cp1250.h"
#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/testsupport.h"
#include "lessons/tlesson1.h"
#include "settings/passwordhash.h"
#include "settings/toptions.h"

#include <QDirIterator>
#include <QLabel>
#include <QInputDialog>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

// Does `act` on each modal dialog that opens, then closes it; keeps their titles.
class DialogWatch
{
public:
    explicit DialogWatch(std::function<void(QDialog &)> act)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, act] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_last)
                return;
            m_last = dialog;
            titles << dialog->windowTitle();
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_timer.start(10);
    }

    QStringList titles;

private:
    QTimer m_timer;
    QPointer<QDialog> m_last;
};

} // namespace

// The teacher's section of the system's pisarz.ini, seen through the whole
// program: locked options, the password before "Klasa", and the line
// --teacher-password prints.
class TestTeacher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;

    QString systemFile() const { return m_dir.filePath(QStringLiteral("etc/palcomir/pisarz.ini")); }
    QString userFile() const { return m_dir.filePath(QStringLiteral("data/pisarz.ini")); }

    std::unique_ptr<TypingApp> startApp() { return startTypingApp(m_dir.filePath(QStringLiteral("data"))); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(QFileInfo(systemFile()).absolutePath()));
        QVERIFY(QDir().mkpath(QFileInfo(userFile()).absolutePath()));
        qputenv("XDG_CONFIG_DIRS", m_dir.filePath(QStringLiteral("etc")).toLocal8Bit());
    }

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }
    void cleanup() { m_recorder.reset(); }

    void lockedOption()
    {
        QVERIFY(writeAll(userFile(), "[Stukomat]\nShowAfaterStart=No\nErrorType=0\n"));
        QVERIFY(writeAll(systemFile(), "[Stukomat]\nErrorType=1\n[Nauczyciel]\nZablokowane=ErrorType\n"));
        {
            std::unique_ptr<TypingApp> app = startApp();
            QVERIFY(app);
            SDIDecFrame &frame = *app->mainWindow();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QVERIFY(frame.startStoredLesson(1201));
            // A wrong key stays in the typed row: errors are accepted.
            TLesson1 *lesson = frame.lesson();
            QTest::qWait(50);
            QTest::keyClick(lesson, Qt::Key_X, Qt::NoModifier);
            QTRY_COMPARE(QByteArray::fromStdString(std::string(lesson->engine().typedRow(0))), QByteArray("x"));
            m_recorder->answerYes = true;
            frame.runCommand(SDIDecFrame::CmAbort);
            m_recorder->answerYes = false;

            bool disabled = false;
            QString why;
            DialogWatch watch([&](QDialog &dialog) {
                if (auto *wait = dialog.findChild<QRadioButton *>(QStringLiteral("108"))) {
                    disabled = !wait->isEnabled() && !dialog.findChild<QRadioButton *>(QStringLiteral("109"))->isEnabled();
                    why = wait->toolTip();
                }
            });
            frame.runCommand(SDIDecFrame::CmOptions);
            QVERIFY(disabled);
            QVERIFY(why.contains(QStringLiteral("nauczyciel")));
            app->saveAll();
        }
        QVERIFY(readAll(userFile()).contains("ErrorType=0"));
        QVERIFY(QFile::remove(systemFile()));
        std::unique_ptr<TypingApp> app = startApp();
        QVERIFY(app);
        QCOMPARE(app->options().ErrorType, 0);
    }

    void classBehindThePassword_data()
    {
        QTest::addColumn<QString>("typed"); // empty: Anuluj
        QTest::addColumn<bool>("opens");
        QTest::newRow("the password") << QStringLiteral("Żółta 3b") << true;
        QTest::newRow("a wrong one") << QStringLiteral("żółta 3b") << false;
        QTest::newRow("cancelled") << QString() << false;
    }

    void classBehindThePassword()
    {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        const std::string hash = PasswordHash::make("Żółta 3b");
        QVERIFY(writeAll(userFile(), "[Stukomat]\nShowAfaterStart=No\n"));
        QVERIFY(writeAll(systemFile(), "[Nauczyciel]\nHaslo=" + QByteArray::fromStdString(hash) + "\n"));
        std::unique_ptr<TypingApp> app = startApp();
        QVERIFY(app);
        DialogWatch watch([&typed](QDialog &dialog) {
            if (auto *asking = qobject_cast<QInputDialog *>(&dialog); asking && !typed.isEmpty()) {
                asking->setTextValue(typed);
                asking->accept();
            }
        });
        app->mainWindow()->runCommand(SDIDecFrame::CmClass);
        QCOMPARE(watch.titles.value(0), QStringLiteral("Hasło nauczyciela"));
        QCOMPARE(watch.titles.contains(QStringLiteral("Klasa")), opens);
        QCOMPARE(m_recorder->texts().contains(QStringLiteral("To nie jest hasło nauczyciela.")), !opens && !typed.isEmpty());
        app->saveAll();
        app.reset();

        // The hash stays in the teacher's file alone.
        QDirIterator files(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            if (file != systemFile())
                QVERIFY2(!readAll(file).contains("argon2"), qPrintable(file));
        }
    }

    // A typed exam through the window: it ends on time, is stored once, and
    // its certificate holds the pupil and the figures the pupil was shown.
    void examEndsOnTime()
    {
        QVERIFY(writeAll(userFile(), "[Stukomat]\nShowAfaterStart=No\n"));
        QFile::remove(systemFile());
        QFile::remove(m_dir.filePath(QStringLiteral("data/pisarz.sta")));
        std::unique_ptr<TypingApp> app = startApp();
        QVERIFY(app);
        SDIDecFrame &frame = *app->mainWindow();
        TStudent pupil(cp1250::fromUtf8("Łucja Żak"), 0, 0);
        frame.classroom().editableRoster().add(pupil);
        QVERIFY(frame.classroom().saveRoster());
        app->options().StudentNo = 0;
        frame.updateCommands();
        TeacherRules rules;
        rules.exam.seconds = 2;
        rules.exam.speed = 1;
        rules.exam.accuracy = 50;
        frame.setTeacherRules(rules);
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        const QString certificate = m_dir.filePath(QStringLiteral("świadectwo.pdf"));
        QString shown;
        DialogWatch watch([&](QDialog &dialog) {
            if (auto *result = qobject_cast<ExamResultDlg *>(&dialog)) {
                shown = result->findChild<QLabel *>()->text();
                QVERIFY(result->writeCertificate(certificate));
            }
        });
        frame.runCommand(SDIDecFrame::CmExam);
        TLesson1 *exam = frame.lesson();
        QVERIFY(exam);
        QTest::qWait(50);
        for (int i = 0; i < 6; ++i)
            pressKey(*exam, exam->engine().text().expectedChar);
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 6000);
        QVERIFY(shown.contains(QStringLiteral("Zaliczyłaś sprawdzian")));

        const std::vector<LessonRecord> lessons = frame.classroom().lessons(frame.classroom().roster().at(0).Id);
        QCOMPARE(lessons.size(), std::size_t(1));
        QCOMPARE(lessons[0].kind, LessonKind::Exam);
        QCOMPARE(lessons[0].seconds, 2U);
        QCOMPARE(lessons[0].keystrokes, 6U);
        // The speed is over the exam's whole time, not only the typing.
        QCOMPARE(qRound(lessons[0].speed), 6 * 60 / 2);

        QProcess text;
        text.start(QStringLiteral("pdftotext"), { certificate, QStringLiteral("-") });
        QVERIFY2(text.waitForFinished(20000) && text.exitCode() == 0, "pdftotext (poppler-utils) must read the certificate");
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        const QString speed = shown.section(QStringLiteral("Szybkość: "), 1).section(QLatin1Char(' '), 0, 0);
        QVERIFY(!speed.isEmpty());
        for (const QString &part : { QStringLiteral("Uczennica:"), QStringLiteral("Łucja Żak"), speed,
                 QStringLiteral("Zaliczony"), QStringLiteral("podpis nauczyciela") })
            QVERIFY2(page.contains(part), qPrintable(part + QStringLiteral(" in ") + page));
    }

    void passwordLine_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::newRow("twice the same") << QByteArray("Żółta 3b\nŻółta 3b\n") << 0;
        QTest::newRow("two different") << QByteArray("Żółta 3b\nŻółta 3c\n") << 1;
        QTest::newRow("empty") << QByteArray("\n\n") << 1;
        QTest::newRow("nothing to read") << QByteArray() << 1;
    }

    void passwordLine()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QProcess program;
        program.start(QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")), { QStringLiteral("--teacher-password") });
        QVERIFY(program.waitForStarted());
        program.write(input);
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), status);
        const QByteArray out = program.readAllStandardOutput();
        if (status != 0) {
            QVERIFY(out.isEmpty());
            QVERIFY(!program.readAllStandardError().isEmpty());
            return;
        }
        QVERIFY(out.startsWith("Haslo=$argon2id$") && out.endsWith("\n"));
        QVERIFY(PasswordHash::check(out.mid(6).trimmed().toStdString(), "Żółta 3b"));
    }
};

QTEST_MAIN(TestTeacher)
#include "tst_teacher.moc"
