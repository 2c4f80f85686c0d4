#include "app/lessonflow.h"

#include <QtTest>

using namespace lessonflow;

Q_DECLARE_METATYPE(lessonflow::EndAnswer)

class TestLessonFlow : public QObject
{
    Q_OBJECT

private slots:
    // After a suggested lesson, with a course of lessons 1201 to 1226.
    void afterASuggestedLesson_data()
    {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<EndAnswer>("answer");
        QTest::addColumn<int>("nextLesson");
        QTest::addColumn<int>("started"); // 0: the title screen
        QTest::addColumn<bool>("passed"); // the teacher's minimal accuracy reached
        QTest::newRow("Tak: the next lesson starts") << 1201 << EndAnswer::Next << 1202 << 1202 << true;
        QTest::newRow("Nie: the title screen, the course moves on") << 1201 << EndAnswer::No << 1202 << 0 << true;
        QTest::newRow("Powtórz: the same lesson again") << 1205 << EndAnswer::Repeat << 1205 << 1205 << true;
        QTest::newRow("closed: the title screen, nothing moves") << 1201 << EndAnswer::Closed << 1201 << 0 << true;
        QTest::newRow("Tak after the last lesson: the course is done") << 1226 << EndAnswer::Next << 1227 << 0 << true;
        QTest::newRow("Nie after the last lesson") << 1226 << EndAnswer::No << 1227 << 0 << true;
        QTest::newRow("Powtórz of the last lesson") << 1226 << EndAnswer::Repeat << 1226 << 1226 << true;
        // Short of the teacher's minimal accuracy the course waits.
        QTest::newRow("short: Tak starts the same lesson") << 1201 << EndAnswer::Next << 1201 << 1201 << false;
        QTest::newRow("short: Nie leaves the course where it was") << 1201 << EndAnswer::No << 1201 << 0 << false;
        QTest::newRow("short at the last lesson: Tak starts it again")
            << 1226 << EndAnswer::Next << 1226 << 1226 << false;
    }

    void afterASuggestedLesson()
    {
        QFETCH(int, lesson);
        QFETCH(EndAnswer, answer);
        QFETCH(int, nextLesson);
        QFETCH(int, started);
        QFETCH(bool, passed);
        const NextStep step = afterSuggestedLesson(lesson, answer, 1227, passed);
        QCOMPARE(step.nextLesson, nextLesson);
        QCOMPARE(step.startLesson, started);
    }

    void suggestedCommand_data()
    {
        QTest::addColumn<int>("nextLesson");
        QTest::addColumn<bool>("hasLesson");
        QTest::newRow("the first lesson") << 1201 << true;
        QTest::newRow("the last lesson") << 1226 << true;
        QTest::newRow("a finished course") << 1227 << false;
        QTest::newRow("a number from a damaged list") << 7 << false;
    }

    void suggestedCommand()
    {
        QFETCH(int, nextLesson);
        QFETCH(bool, hasLesson);
        QCOMPARE(hasSuggestedLesson(nextLesson, 1227), hasLesson);
    }
};

QTEST_APPLESS_MAIN(TestLessonFlow)
#include "tst_lessonflow.moc"
