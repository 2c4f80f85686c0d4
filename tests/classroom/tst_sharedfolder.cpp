#include "classroom/classroom.h"
#include "common/classmates.h"
#include "common/testsupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSteps = 8; // every save is many times slower under the sanitizers
#else
constexpr int kSteps = 30;
#endif
} // namespace

class TestSharedFolder : public QObject
{
    Q_OBJECT

private slots:
    void classmatesLoseNothing_data()
    {
        QTest::addColumn<int>("computers");
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("two computers") << 2 << 11u;
        QTest::newRow("five computers") << 5 << 23u;
        QTest::newRow("five computers, other moments") << 5 << 97u;
    }

    void classmatesLoseNothing()
    {
        QFETCH(int, computers);
        QFETCH(unsigned, seed);
        QTemporaryDir folder;
        const ClassmatesOutcome out = runClassmates(CLASSMATE_EXECUTABLE, folder.path(), computers, kSteps, seed);
        QVERIFY2(out.failure.isEmpty(), qPrintable(out.failure));
        QVERIFY(out.pupils >= computers && out.lessons > 0);
        QCOMPARE(out.lostPupils, 0);
        QCOMPARE(out.lostLessons, 0);
        QCOMPARE(out.misattributed, 0);
        QCOMPARE(out.wrongNextLesson, 0);
    }

    // A computer that died while it made the lock leaves it empty; the
    // others take it over after a moment rather than wait for it to grow old.
    void anEmptyLockIsTakenOver()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath(QStringLiteral("pisarz.sta"));
        QVERIFY(writeAll(list + QStringLiteral(".lock"), QByteArray()));
        int studentNo = -1;
        Classroom classroom(list, folder.path(), QStringLiteral("pc"), studentNo);
        QSignalSpy told(&classroom, &Classroom::problem);
        QElapsedTimer clock;
        clock.start();
        classroom.load();
        classroom.editableRoster().add(TStudent(W("Ala"), 0, 1));
        QVERIFY(classroom.saveRoster());
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(told.size(), 0);
        QVERIFY(!QFile::exists(list + QStringLiteral(".lock")));
        QCOMPARE(TStudentList::parse(readAll(list).toStdString()).list.count(), 1);
    }

    // A new school year: the list deleted, the first pupil registered takes
    // the first place, and with it nothing of the pupil who was there.
    void aResetListGivesANewPupilNothing()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath(QStringLiteral("pisarz.sta"));
        int studentNo = -1;
        const auto registered = [&](Classroom &classroom, const char *name) {
            classroom.editableRoster().add(TStudent(W(name), 0, 1));
            QVERIFY(classroom.saveRoster());
            studentNo = classroom.roster().count() - 1;
        };
        std::string oldId;
        {
            Classroom classroom(list, folder.path(), QStringLiteral("pc"), studentNo);
            classroom.load();
            registered(classroom, "Jan");
            LessonRecord lesson;
            lesson.speed = 99.0F;
            classroom.recordLesson(TCharCounts {}, lesson);
            oldId = classroom.current()->Id;
            QCOMPARE(classroom.lessons(oldId).size(), std::size_t(1));
        }
        QVERIFY(QFile::remove(list));
        Classroom classroom(list, folder.path(), QStringLiteral("pc"), studentNo);
        classroom.load();
        QCOMPARE(classroom.roster().count(), 0);
        for (const char *name : { "Zosia", "Jan" }) {
            registered(classroom, name);
            QVERIFY(classroom.current()->Id != oldId);
            QVERIFY(classroom.lessons(classroom.current()->Id).empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
