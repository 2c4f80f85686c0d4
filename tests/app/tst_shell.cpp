#include "app/apppaths.h"
#include "app/helpwindow.h"
#include "app/sdidecframe.h"
#include "app/singleinstance.h"
#include "app/tendinfodlg.h"
#include "app/ttitle.h"
#include "app/typingapp.h"
#include "choice/tchosedlg.h"
#include "classroom/classroom.h"
#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/modaldismisser.h"
#include "common/testsupport.h"
#include "lessons/keyboardkeys.h"
#include "lessons/tlesson1.h"
#include "lessons/tlesson4.h"
#include "settings/toptions.h"
#include "widgets/keyguard.h"
#include "widgets/messages.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>

namespace {

// Presses a button of the end-of-lesson dialog once it opens.
class EndOfLessonAnswer
{
public:
    explicit EndOfLessonAnswer(int choice)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, choice] {
            auto *dialog = qobject_cast<TEndInfoDlg *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_timer.stop();
            if (choice == TEndInfoDlg::Dismissed)
                dialog->reject();
            else
                dialog->findChild<QPushButton *>(QString::number(choice))->click();
        });
        m_timer.start(10);
    }

private:
    QTimer m_timer;
};

// Presses the default button of the next modal dialog once it opens: "OK"
// in the lists.
void acceptNextDialog()
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            dialog->findChild<QPushButton *>(QStringLiteral("1"))->click();
        }
    });
    timer->start(5);
}

} // namespace

using lessonflow::LessonSource;

class TestShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MessageRecorder> m_recorder;
    TOptions m_options;
    std::unique_ptr<SDIDecFrame> m_frame;

    // A main window with one registered student (or none), as the learner left it.
    SDIDecFrame *frameWith(bool student, int nextLesson = 1201, int male = 1)
    {
        m_frame.reset();
        QFile::remove(AppPaths::studentsFile());
        m_options = TOptions();
        m_options.Click = false;
        m_frame = std::make_unique<SDIDecFrame>(builtLibrary(), m_options);
        if (student) {
            TStudent learner(W("Ala"), 0, male);
            learner.NextLesson = nextLesson;
            m_frame->classroom().editableRoster().add(learner);
            m_frame->classroom().saveRoster();
            m_options.StudentNo = 0;
        }
        m_frame->updateCommands();
        m_frame->show();
        m_frame->activateWindow();
        if (!QTest::qWaitForWindowActive(m_frame.get()))
            qWarning("the main window did not become active; its accelerators will not work");
        return m_frame.get();
    }

    TLesson1 *runningLesson() const { return m_frame ? m_frame->lesson() : nullptr; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(AppPaths::setDataDir(m_dir.path()));
    }

    void init() { m_recorder = std::make_unique<MessageRecorder>(); }

    void cleanup()
    {
        m_recorder->answerYes = true; // the window may close
        m_frame.reset();
        m_recorder.reset();
    }

    void menusAndHints_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("101") << 101 << "&Rejestracja"
                             << "Rejestracja ucznia - umożliwia tryb sugerowany nauki";
        QTest::newRow("24310") << 24310 << "&Koniec\tAlt+F4"
                               << "Wyjście z programu.";
        QTest::newRow("200") << 200 << "&Sugerowana"
                             << "Lekcja sugerowana";
        QTest::newRow("213") << 213 << "&Wybór lekcji"
                             << "Wybór ze wszystkich lekcji";
        QTest::newRow("216") << 216 << "Wybór &liter"
                             << "Ćwiczenie generowane automatycznie";
        QTest::newRow("215") << 215 << "&Teksty"
                             << "Praktyczne teksty z wykorzystaniem wszystkich klawiszy";
        QTest::newRow("217") << 217 << "&Klawiatura numeryczna"
                             << "Ćwiczenia na klawiaturze numerycznej";
        QTest::newRow("218") << 218 << "Włas&ne teksty"
                             << "Lekcje utworzone z własnych plików tekstowych";
        QTest::newRow("103") << 103 << "&Opcje ogólne"
                             << "Opcje programu: dźwięk, reakcja na błędy";
        QTest::newRow("102") << 102 << "&Statystyka"
                             << "Informacje o postępie w nauce, błędach, szybkości pisania";
        QTest::newRow("2008") << 2008 << "&Tematy pomocy"
                              << "Dostępne tematy pomocy";
        QTest::newRow("2009") << 2009 << "&Informacje"
                              << "Informacje o programie";
        QTest::newRow("300") << 300 << "&Przerwanie lekcji\tEsc"
                             << "Przerwanie aktualnie wykonywanej lekcji";
        QTest::newRow("301") << 301 << "P&auza\tPauza"
                             << "Chwilowe zatrzymanie lekcji";
        QTest::newRow("302") << 302 << "&Instrukcja"
                             << "Instrukcja do tej lekcji.";
        QTest::newRow("303") << 303 << "Pa&lcowanie\tF2"
                             << "Rozmieszczenie palców na klawiaturze";
    }

    void menusAndHints()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        SDIDecFrame *frame = frameWith(false);
        QAction *action = frame->action(command);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->statusTip(), hint);
    }

    void menuTitles()
    {
        SDIDecFrame *frame = frameWith(false);
        auto titles = [frame] {
            QStringList out;
            for (QAction *menu : frame->menuBar()->actions())
                out << menu->text();
            return out;
        };
        QCOMPARE(titles(), QStringList({ "&Plik", "&Lekcja", "&Opcje", "Pomo&c" }));
        QVERIFY(frame->startStoredLesson(1201));
        QCOMPARE(titles(), QStringList({ "&Plik", "&Lekcja", "Pomo&c" }));
        QVERIFY(frame->lessonMenuShown());
    }

    void commandsFollowTheStudentAndTheLesson()
    {
        SDIDecFrame *frame = frameWith(false);
        QVERIFY(!frame->action(200)->isEnabled());
        QVERIFY(!frame->action(102)->isEnabled());
        QVERIFY(!frame->action(302)->isEnabled());
        QVERIFY(frame->action(213)->isEnabled());

        frame = frameWith(true);
        QVERIFY(frame->action(200)->isEnabled());
        QVERIFY(frame->action(102)->isEnabled());

        QVERIFY(frame->startStoredLesson(1201)); // a lesson with an instruction
        QVERIFY(frame->action(302)->isEnabled());
    }

    void practicalTextsStartWithoutInstruction()
    {
        SDIDecFrame *frame = frameWith(false);
        acceptNextDialog(); // the first text
        frame->runCommand(SDIDecFrame::CmTexts);
        QVERIFY(runningLesson());
        QCOMPARE(runningLesson()->textNumber(), 1301);
        QCOMPARE(frame->lessonSource(), LessonSource::Chosen);
        QVERIFY(!runningLesson()->hasInstruction());
        QVERIFY(!frame->action(302)->isEnabled());
        QApplication::processEvents();
        for (const Box &box : m_recorder->boxes)
            QVERIFY2(box.caption != QStringLiteral("Instrukcja"), "no instruction box for a practical text");
    }

    void suggestedMode_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("nextLesson");
        QTest::addColumn<int>("runningAfter"); // 0: the title screen
        // What follows each answer is decided in the lesson flow's own test;
        // here the window carries it out and saves it.
        QTest::newRow("Tak: the next lesson starts") << 1201 << int(TEndInfoDlg::Next) << 1202 << 1202;
        QTest::newRow("Nie: the title screen, the course moves on") << 1201 << int(TEndInfoDlg::No) << 1202 << 0;
    }

    void suggestedMode()
    {
        QFETCH(int, start);
        QFETCH(int, choice);
        QFETCH(int, nextLesson);
        QFETCH(int, runningAfter);
        SDIDecFrame *frame = frameWith(true, start);
        QCOMPARE(frame->lessonLimit(), 1227);
        frame->runCommand(SDIDecFrame::CmSuggested);
        QPointer<TLesson1> lesson = runningLesson();
        QVERIFY(lesson);
        QCOMPARE(lesson->textNumber(), start);
        QCOMPARE(frame->lessonSource(), LessonSource::Suggested);

        const EndOfLessonAnswer answer(choice);
        typeToTheEnd(lesson);
        QTRY_VERIFY(!lesson);
        QCOMPARE(frame->classroom().roster().at(0).NextLesson, nextLesson);
        if (runningAfter) {
            QVERIFY(runningLesson());
            QCOMPARE(runningLesson()->textNumber(), runningAfter);
            QCOMPARE(frame->lessonSource(), LessonSource::Suggested);
        } else {
            QVERIFY(qobject_cast<TTitle *>(frame->centralWidget()));
        }
        // The record reached the disk at once.
        QFile file(AppPaths::studentsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto read = TStudentList::parse(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(read.list.count(), 1);
        QCOMPARE(read.list.at(0).NextLesson, nextLesson);
        QVERIFY2(read.list.at(0).CharStats[statCharSlot(' ')].Accuracy > 0.0F, "the lesson's results were recorded");
    }

    // The Enter a pupil presses out of habit as the lesson ends does not
    // answer "Koniec lekcji"; the next Enter does, with "Powtórz" as the
    // default when the verdict says to repeat.
    void habitualEnterKeepsTheVerdict_data()
    {
        QTest::addColumn<int>("wrongEvery");
        QTest::addColumn<int>("runningAfter");
        QTest::newRow("no errors: Tak, the next lesson") << 0 << 1202;
        QTest::newRow("too many errors: Powtórz, the same lesson") << 4 << 1201;
    }

    void habitualEnterKeepsTheVerdict()
    {
        QFETCH(int, wrongEvery);
        QFETCH(int, runningAfter);
        SDIDecFrame *frame = frameWith(true, 1201);
        frame->runCommand(SDIDecFrame::CmSuggested);
        QPointer<TLesson1> lesson = runningLesson();
        QVERIFY(lesson);
        bool survivedTheHabit = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<TEndInfoDlg *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
            survivedTheHabit = dialog->isVisible();
            QTimer::singleShot(KeyGuard::kQuietMs + 100, dialog,
                [dialog] { QTest::keyClick(dialog->windowHandle(), Qt::Key_Return); });
        });
        answer.start(0);
        typeToTheEnd(lesson, wrongEvery);
        QTRY_VERIFY(!lesson);
        QVERIFY(survivedTheHabit);
        QVERIFY(runningLesson());
        QCOMPARE(runningLesson()->textNumber(), runningAfter);
    }

    void finishedCourseMakesSuggestedDoNothing()
    {
        SDIDecFrame *frame = frameWith(true, 1227);
        frame->runCommand(SDIDecFrame::CmSuggested);
        QVERIFY(!runningLesson());
        QVERIFY(m_recorder->boxes.isEmpty());
    }

    void chosenLessonVerdict_data()
    {
        QTest::addColumn<bool>("student");
        QTest::addColumn<int>("male");
        QTest::addColumn<int>("wrongEvery");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no student: feminine") << false << 1 << 0 << "Nie zrobiłaś żadnego błędu.";
        QTest::newRow("a man") << true << 1 << 0 << "Nie zrobiłeś żadnego błędu.";
        QTest::newRow("a woman") << true << 0 << 0 << "Nie zrobiłaś żadnego błędu.";
        QTest::newRow("too many errors, no student") << false << 1 << 4 << "Popełniłaś zdecydowanie za dużo błędów!";
    }

    void chosenLessonVerdict()
    {
        QFETCH(bool, student);
        QFETCH(int, male);
        QFETCH(int, wrongEvery);
        QFETCH(QString, expected);
        SDIDecFrame *frame = frameWith(student, 1201, male);
        acceptNextDialog(); // the first lesson
        frame->runCommand(SDIDecFrame::CmChooseLesson);
        QPointer<TLesson1> lesson = runningLesson();
        QVERIFY(lesson);
        QCOMPARE(frame->lessonSource(), LessonSource::Chosen);
        typeToTheEnd(lesson, wrongEvery);
        QTRY_VERIFY(!lesson);
        const Box &verdict = m_recorder->boxes.last();
        QCOMPARE(verdict.caption, QStringLiteral("Koniec ćwiczenia"));
        QCOMPARE(verdict.kind, Messages::Kind::Plain);
        QVERIFY2(verdict.text.contains(expected), qPrintable(verdict.text));
        QVERIFY(verdict.text.endsWith(QLatin1Char(' ')));
        QVERIFY(qobject_cast<TTitle *>(frame->centralWidget()));
        if (student)
            QCOMPARE(frame->classroom().roster().at(0).NextLesson, 1201); // chosen lessons never move the course
    }

    void letterExercises_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<bool>("words");
        QTest::addColumn<bool>("starts");
        QTest::newRow("random groups from asdf") << "asdf" << false << true;
        QTest::newRow("words from ąęść") << QString::fromUtf8("ąęść") << true << true;
        QTest::newRow("words from a digit alone") << "5" << true << false;
    }

    // "Wybór liter": the exercise runs to its end and gets a verdict.
    void letterExercises()
    {
        QFETCH(QString, letters);
        QFETCH(bool, words);
        QFETCH(bool, starts);
        SDIDecFrame *frame = frameWith(false);
        QTimer::singleShot(0, [letters, words] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->findChild<QLineEdit *>(QStringLiteral("100"))->setText(letters);
            dialog->findChild<QLineEdit *>(QStringLiteral("101"))->setText(QStringLiteral("3"));
            dialog->findChild<QRadioButton *>(words ? QStringLiteral("103") : QStringLiteral("102"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("1"))->click();
        });
        frame->runCommand(SDIDecFrame::CmLetters);
        QPointer<TLesson1> lesson = runningLesson();
        QCOMPARE(bool(lesson), starts);
        if (!starts) {
            QCOMPARE(m_recorder->boxes.size(), 1);
            QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Stop"));
            QCOMPARE(
                m_recorder->boxes[0].text, QStringLiteral("Utworzenie ćwiczenia z podanych liter nie było możliwe"));
            QVERIFY(qobject_cast<TTitle *>(frame->centralWidget()));
            return;
        }
        QCOMPARE(frame->lessonSource(), LessonSource::Exercise);
        QCOMPARE(lesson->engine().text().lineCount, 3);
        QVERIFY(!frame->action(302)->isEnabled());
        typeToTheEnd(lesson);
        QTRY_VERIFY(!lesson);
        QCOMPARE(m_recorder->boxes.last().caption, QStringLiteral("Koniec ćwiczenia"));
        QVERIFY(m_recorder->boxes.last().text.startsWith(QStringLiteral("Szybkość pisania wyniosła")));
    }

    void keypadDrill()
    {
        SDIDecFrame *frame = frameWith(false);
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<TChoseDlg *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->list()->setCurrentRow(3);
            dialog->findChild<QPushButton *>(QStringLiteral("1"))->click();
        });
        frame->runCommand(SDIDecFrame::CmKeypad);
        QVERIFY(qobject_cast<TLesson4 *>(runningLesson()));
        QCOMPARE(runningLesson()->textNumber(), 1404);
        QCOMPARE(frame->lessonSource(), LessonSource::Chosen);
        // The keypad's 7 giving Home: Num Lock is off, which the drill needs.
        QTest::keyClick(frame->windowHandle(), Qt::Key_Home, Qt::KeypadModifier);
        QCOMPARE(frame->noticeText(), QStringLiteral("Włącz Num Lock"));
        QTest::keyClick(frame->windowHandle(), Qt::Key_7, Qt::KeypadModifier);
        QCOMPARE(frame->noticeText(), QString());
        QCOMPARE(frame->lockIndicatorText(), QStringLiteral("NUM"));
    }

    // Whose results a lesson adds to, a pause and Caps Lock are told in the
    // window's title and status bar.
    void titleAndNotices()
    {
        QCOMPARE(frameWith(false)->windowTitle(), QStringLiteral("Palcomir"));
        SDIDecFrame *frame = frameWith(true);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Palcomir — Ala"));
        QWindow *window = frame->windowHandle();
        QTest::keyClick(window, 'A'); // no lesson yet: nothing to warn of
        QCOMPARE(frame->lockIndicatorText(), QStringLiteral("CAPS"));
        QCOMPARE(frame->noticeText(), QString());
        QVERIFY(frame->startStoredLesson(1201));
        QCOMPARE(frame->noticeText(), QStringLiteral("Włączony Caps Lock"));
        frame->runCommand(SDIDecFrame::CmPause);
        QCOMPARE(frame->noticeText(), QStringLiteral("Pauza, Włączony Caps Lock"));
        QTest::keyClick(window, 'f'); // a key resumes; a lower-case letter without Shift
        QCOMPARE(frame->noticeText(), QString());
        QCOMPARE(frame->lockIndicatorText(), QString());
    }

    // F2 in a lesson shows the one fingering chart; a key or a left click
    // closes it, a right click does not.
    void fingeringChart_data()
    {
        QTest::addColumn<int>("closedBy"); // 0 a key, 1 a left click
        QTest::newRow("a key") << 0;
        QTest::newRow("a left click") << 1;
    }

    void fingeringChart()
    {
        QFETCH(int, closedBy);
        SDIDecFrame *frame = frameWith(false);
        QVERIFY(frame->startStoredLesson(1201));
        frame->runCommand(SDIDecFrame::CmFingering);
        const QPointer<THintWindow> chart = frame->fingeringChart();
        QVERIFY(chart && chart->hasPicture());
        frame->runCommand(SDIDecFrame::CmFingering);
        QCOMPARE(frame->fingeringChart(), chart.data());
        QCOMPARE(frame->findChildren<THintWindow *>().size(), 1);
        QCOMPARE(chart->windowTitle(), QStringLiteral("Ściąga"));
        QCOMPARE(chart->size(), QSize(639, 281));
        QVERIFY(QTest::qWaitForWindowActive(chart));
        QTest::mouseClick(chart, Qt::RightButton);
        QVERIFY(chart && chart->isVisible());
        // F2 pressed again on the chart keeps it, in front.
        QTest::keyClick(chart, Qt::Key_F2);
        QApplication::processEvents();
        QVERIFY(chart && chart->isVisible());
        QCOMPARE(frame->findChildren<THintWindow *>().size(), 1);
        QCOMPARE(QApplication::activeWindow(), chart.data());
        if (closedBy == 0)
            QTest::keyClick(chart, Qt::Key_A);
        else
            QTest::mouseClick(chart, Qt::LeftButton);
        QTRY_VERIFY(!chart);
        QVERIFY(!frame->fingeringChart());
    }

    // A wrong key shows on the keyboard view which key it was, red for a
    // moment, while the key to press stays marked; in both error modes.
    void wrongKeyFlashesOnTheKeyboard_data()
    {
        QTest::addColumn<int>("errorType");
        QTest::newRow("waiting for the right key") << 0;
        QTest::newRow("errors accepted") << 1;
    }

    void wrongKeyFlashesOnTheKeyboard()
    {
        QFETCH(int, errorType);
        SDIDecFrame *frame = frameWith(false);
        m_options.ErrorType = errorType;
        QVERIFY(frame->startStoredLesson(1201)); // it starts with f
        const QPointer<TLesson1> lesson = runningLesson();
        QTest::keyClick(frame->windowHandle(), 'q');
        QCOMPARE(int(lesson->engine().errorCount()), 1);
        QCOMPARE(int(lesson->flashedKey()), int('q'));

        const QImage &picture = lesson->picture();
        // A pixel of a key's face, away from its label.
        const auto faceOf = [](unsigned char c) {
            const KeyArea a = markedMainKeys(c, TypingEngine::plainSameKey).areas[0];
            return QPoint(a.left + 3, a.top + 3);
        };
        const auto shownAt = [&](QPoint at) {
            const QImage shown = lesson->grab().toImage().convertToFormat(QImage::Format_RGB32);
            return shown.pixel(at.x(), lesson->height() - picture.height() + at.y()) & 0xFFFFFF;
        };
        const QPoint wrong = faceOf('q');
        const QPoint next = faceOf(lesson->engine().text().expectedChar);
        QCOMPARE(shownAt(wrong), picture.pixel(wrong) & qRgb(255, 0, 0) & 0xFFFFFF);
        QCOMPARE(shownAt(next), picture.pixel(next) & lesson->highlightColour().rgb() & 0xFFFFFF);
        QTRY_COMPARE(int(lesson->flashedKey()), 0);
        QCOMPARE(shownAt(wrong), picture.pixel(wrong) & 0xFFFFFF);
        QCOMPARE(shownAt(next), picture.pixel(next) & lesson->highlightColour().rgb() & 0xFFFFFF);
    }

    // Help asked for in a modal dialog opens in front of it, fits the screen
    // and can be used and closed while the dialog stays open.
    void helpFromADialog()
    {
        SDIDecFrame *frame = frameWith(false);
        bool helpWorked = false;
        QTimer::singleShot(0, [&helpWorked] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            [&] {
                QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("998")), Qt::LeftButton);
                auto *help = dialog->findChild<HelpWindow *>();
                QVERIFY(help && help->isVisible());
                QVERIFY(help->screen()->availableGeometry().contains(help->frameGeometry()));
                QVERIFY(help->browser()->source().toString().endsWith(QStringLiteral("#700")));
                const auto buttons = help->findChildren<QPushButton *>();
                QTest::mouseClick(buttons.last(), Qt::LeftButton); // "Zamknij", not blocked by the dialog
                QVERIFY(!help->isVisible());
                QVERIFY(dialog->isVisible());
                helpWorked = true;
            }();
            dialog->reject();
        });
        frame->runCommand(SDIDecFrame::CmOptions);
        QVERIFY(helpWorked);
    }

    void statisticsShowTheCurrentStudent()
    {
        SDIDecFrame *frame = frameWith(true);
        frame->classroom().editableRoster().at(0).CharStats[statCharSlot('a')] = { 120.0F, 95.0F };
        QString title;
        int rows = -1;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            rows = dialog->findChild<QListWidget *>(QStringLiteral("100"))->count();
            dialog->accept();
        });
        frame->runCommand(SDIDecFrame::CmStatistics);
        QCOMPARE(title, QStringLiteral("Statystyka"));
        QCOMPARE(rows, 1);
    }

    void singleLetterLesson()
    {
        SDIDecFrame *frame = frameWith(false);
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->findChild<QLineEdit *>(QStringLiteral("100"))->setText(QString::fromUtf8("Ł"));
            dialog->findChild<QPushButton *>(QStringLiteral("1"))->click();
        });
        frame->runCommand(SDIDecFrame::CmSingleLetter);
        QVERIFY(runningLesson());
        QCOMPARE(runningLesson()->textNumber(), 16);
        QCOMPARE(frame->lessonSource(), LessonSource::Exercise);
    }

    void abort_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the lesson") << false;
        QTest::newRow("Yes ends it without a verdict") << true;
    }

    void abort()
    {
        QFETCH(bool, yes);
        SDIDecFrame *frame = frameWith(true);
        QVERIFY(frame->startStoredLesson(1201));
        QPointer<TLesson1> lesson = runningLesson();
        QTest::keyClicks(lesson, QStringLiteral("fff"));
        m_recorder->boxes.clear();
        m_recorder->answerYes = yes;
        QTest::keyClick(frame, Qt::Key_Escape);
        QCOMPARE(m_recorder->boxes.size(), 1);
        QCOMPARE(m_recorder->boxes[0].kind, Messages::Kind::Question);
        QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Przerwanie lekcji"));
        QCOMPARE(m_recorder->boxes[0].text, QStringLiteral("Czy na pewno chcesz przerwać lekcję?"));
        QCOMPARE(bool(lesson), !yes);
        if (!yes)
            QCOMPARE(int(lesson->engine().typedCount()), 3);
        QCOMPARE(frame->classroom().roster().at(0).CharStats[statCharSlot('f')].Accuracy, 0.0F); // nothing recorded
        QApplication::processEvents();
        QCOMPARE(m_recorder->boxes.size(), 1);
    }

    // Every new lesson takes the keyboard, however the one before it ended
    // and however it was started: the keys go to the window as a learner's
    // keys do, not to the lesson widget.
    void nextLessonTakesTheKeyboard_data()
    {
        QTest::addColumn<bool>("aborted");
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("after a finished lesson") << false << false;
        QTest::newRow("after an aborted lesson") << true << false;
        QTest::newRow("after an aborted lesson, through the menu") << true << true;
    }

    void nextLessonTakesTheKeyboard()
    {
        QFETCH(bool, aborted);
        QFETCH(bool, byMenu);
        SDIDecFrame *frame = frameWith(false);
        QWindow *window = frame->windowHandle();
        // As a window manager does when a dialog or message box closes.
        auto backToTheWindow = [frame] {
            frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame));
        };
        auto chooseFirstLesson = [&] {
            acceptNextDialog();
            if (byMenu) {
                QTest::keyClick(window, Qt::Key_L, Qt::AltModifier);
                QTRY_VERIFY(QApplication::activePopupWidget());
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_W);
            } else {
                frame->runCommand(SDIDecFrame::CmChooseLesson);
            }
            QTRY_VERIFY(runningLesson());
            backToTheWindow();
        };
        chooseFirstLesson();
        QPointer<TLesson1> first = runningLesson();
        m_recorder->answerYes = true;
        if (aborted)
            QTest::keyClick(window, Qt::Key_Escape);
        else
            typeToTheEnd(first);
        QTRY_VERIFY(!first);
        backToTheWindow();

        chooseFirstLesson();
        TLesson1 *second = runningLesson();
        QTest::keyClick(window, 'f');
        // The focus left on the menu bar while a dialog is open comes back
        // to the lesson with the window.
        frame->menuBar()->setFocus();
        {
            const ModalDismisser dismisser;
            frame->runCommand(SDIDecFrame::CmOptions);
        }
        backToTheWindow();
        QTest::keyClick(window, 'f');
        QTest::keyClick(window, 'f');
        QCOMPARE(int(second->engine().typedCount()), 3);
    }

    void escapeOnTheTitleScreenAsksToo()
    {
        SDIDecFrame *frame = frameWith(false);
        QPointer<QWidget> title = frame->centralWidget();
        m_recorder->answerYes = true;
        QTest::keyClick(frame, Qt::Key_Escape);
        QCOMPARE(m_recorder->boxes.size(), 1);
        QVERIFY(!title); // a fresh title screen
        QVERIFY(qobject_cast<TTitle *>(frame->centralWidget()));
    }

    void exitQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the window and the lesson") << false;
        QTest::newRow("Yes closes without a verdict") << true;
    }

    void exitQuestion()
    {
        QFETCH(bool, yes);
        SDIDecFrame *frame = frameWith(true);
        QVERIFY(frame->startStoredLesson(1201));
        QPointer<TLesson1> lesson = runningLesson();
        m_recorder->boxes.clear();
        m_recorder->answerYes = yes;
        frame->runCommand(SDIDecFrame::CmExit);
        QCOMPARE(m_recorder->boxes.size(), 1);
        QCOMPARE(m_recorder->boxes[0].caption, QStringLiteral("Palcomir"));
        QCOMPARE(m_recorder->boxes[0].text, QStringLiteral("Czy na pewno chcesz opuścić program?"));
        QCOMPARE(frame->isVisible(), !yes);
        QCOMPARE(bool(lesson), !yes);
        QCOMPARE(frame->classroom().roster().at(0).NextLesson, 1201);
    }

    void pauseKeepsTheTime()
    {
        SDIDecFrame *frame = frameWith(false);
        QVERIFY(frame->startStoredLesson(1201));
        frame->runCommand(SDIDecFrame::CmPause);
        QVERIFY(runningLesson()->engine().paused());
        frame->runCommand(SDIDecFrame::CmPause);
        QVERIFY(!runningLesson()->engine().paused());
    }

    void registrationOpensAtStartWhenAsked_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("opens");
        QTest::newRow("default") << QByteArray() << true;
        QTest::newRow("switched off") << QByteArray("[Stukomat]\nShowAfaterStart=No\n") << false;
    }

    void registrationOpensAtStartWhenAsked()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, opens);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("pisarz.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        options.dataDir = dir.path();
        const ModalDismisser dismisser;
        {
            TypingApp app(options);
            QCOMPARE(app.start(), 0);
            QTest::qWait(150);
            QCOMPARE(dismisser.titles.contains(QStringLiteral("Rejestracja")), opens);
        }
        QVERIFY(AppPaths::setDataDir(m_dir.path()));
    }

    // The program itself, started twice on the same data folder.
    void secondStartActivatesTheFirst()
    {
        QTemporaryDir dir;
        QProcess first;
        first.start(
            QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")), { QStringLiteral("--data-dir"), dir.path() });
        QVERIFY(first.waitForStarted());
        // Until the first one answers on its name.
        const QString name = SingleInstance::keyFor(dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(SingleInstance(name).askRunningToActivate(), 20000);
        QProcess second;
        second.start(
            QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")), { QStringLiteral("--data-dir"), dir.path() });
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate(); // SIGTERM: saves and ends like a normal exit
        QVERIFY(first.waitForFinished(15000));
        QCOMPARE(first.exitCode(), 0);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
