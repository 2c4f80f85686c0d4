#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "classroom/classroom.h"
#include "classroom/classserver.h"
#include "common/lessonharness.h"
#include "common/messagerecorder.h"
#include "common/pgserver.h"
#include "common/testsupport.h"
#include "history/historystore.h"
#include "students/tstudent.h"
#include "text/cp1250.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The output lines of one classpc run that start with word, without it.
QStringList linesOf(const QByteArray &output, const QString &word)
{
    QStringList found;
    for (const QString &line : QString::fromUtf8(output).split(u'\n')) {
        if (line.startsWith(word + u' '))
            found << line.mid(word.size() + 1);
    }
    return found;
}

struct Pc {
    QTemporaryDir folder;
    std::unique_ptr<QProcess> process;

    void start(const QString &server, const QStringList &steps, const QString &name)
    {
        process = std::make_unique<QProcess>();
        process->start(QStringLiteral(CLASSPC_EXECUTABLE),
            QStringList { folder.path(), name, server, QStringLiteral("3b") } + steps);
    }
    QByteArray finish()
    {
        const bool ended = process->waitForFinished(120000);
        const QByteArray out = process->readAllStandardOutput();
        if (!ended || process->exitCode() != 0)
            qWarning("classpc: %s %s", out.constData(), process->readAllStandardError().constData());
        return ended && process->exitCode() == 0 ? out : QByteArray("failed");
    }
};

// A computer in class mode, in this process: its rounds with the server
// are waited for.
struct LocalPc {
    QTemporaryDir folder;
    int studentNo = -1;
    Classroom classroom;
    QList<DataProblem> told;

    explicit LocalPc(const QString &server)
        : classroom(
            QDir(folder.path()).filePath(QStringLiteral("pisarz.sta")), folder.path(), QStringLiteral("pc9"), studentNo)
    {
        QObject::connect(&classroom, &Classroom::problem, [this](const DataProblem &p) { told << p; });
        classroom.useClassServer({ server.toStdString(), "3b" });
        classroom.load();
        round();
    }
    bool round()
    {
        QSignalSpy spy(&classroom, &Classroom::synced);
        return spy.wait(30000);
    }
    void registerPupil(const char *name)
    {
        classroom.editableRoster().add(TStudent(name, 0, 0));
        classroom.saveRoster();
        round();
        studentNo = classroom.roster().count() - 1;
    }
    void finishLesson(std::int64_t when, int slot, std::uint32_t hits)
    {
        TCharCounts counts {};
        counts[std::size_t(slot)] = { hits, 6000, 1 };
        LessonRecord record;
        record.when = when;
        record.chars = talliesOf(counts);
        classroom.recordLesson(counts, record);
        round();
    }
    int serverAway() const
    {
        return int(std::count_if(
            told.begin(), told.end(), [](const DataProblem &p) { return p.code == DataProblem::Code::ServerAway; }));
    }
};

} // namespace

class TestClassServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(m_pg.ok(), qPrintable(m_pg.failure)); }

    // A test that stopped the server and failed leaves it stopped.
    void init() { QVERIFY(m_pg.running() || m_pg.start()); }

    // A pupil registered at one computer is on the list of another; the same
    // pupil finishing lessons at two computers at once keeps every one, and
    // the record on the server is the one their order gives.
    void computersShareTheClass()
    {
        Pc one;
        one.start(m_pg.connection(), { QStringLiteral("register"), QStringLiteral("Żaneta") }, QStringLiteral("pc1"));
        const QStringList pupil = linesOf(one.finish(), QStringLiteral("pupil"));
        QCOMPARE(pupil.size(), 1);

        Pc two;
        two.start(m_pg.connection(), { QStringLiteral("list") }, QStringLiteral("pc2"));
        const QStringList listed = linesOf(two.finish(), QStringLiteral("listed"));
        QCOMPARE(listed, QStringList { pupil[0] + QStringLiteral(" 1201 Żaneta") });

        const QStringList lessons { QStringLiteral("lessons"), QStringLiteral("Żaneta"), QStringLiteral("6") };
        one.start(m_pg.connection(), lessons, QStringLiteral("pc1"));
        two.start(m_pg.connection(), lessons, QStringLiteral("pc2"));
        const QStringList done
            = linesOf(one.finish(), QStringLiteral("lesson")) + linesOf(two.finish(), QStringLiteral("lesson"));
        QCOMPARE(done.size(), 12);
        int furthest = 0;
        for (const QString &line : done)
            furthest = std::max(furthest, line.section(u' ', 1, 1).toInt());

        QVERIFY(m_pg.psql(
            QStringLiteral("SELECT count(*), count(DISTINCT computer) FROM palcomir.lessons WHERE pupil = '%1'")
                .arg(pupil[0])));
        QCOMPARE(m_pg.output.simplified(), QStringLiteral("count | count -------+------- 12 | 2 (1 row)"));
        // Both computers moved the course on; the server keeps the furthest.
        QVERIFY(furthest >= 1207);
        QVERIFY(m_pg.psql(QStringLiteral("SELECT next_lesson FROM palcomir.pupils WHERE id = '%1'").arg(pupil[0])));
        QCOMPARE(m_pg.output.section(u'\n', 2, 2).trimmed().toInt(), furthest);

        // The record is every lesson applied in the order they finished.
        ClassServer server(m_pg.connection().toStdString(), QStringLiteral("test"));
        const auto roster = server.roster("3b");
        auto read = server.pupilLessons(pupil[0].toStdString());
        QVERIFY(roster && read);
        const std::vector<LessonRecord> &all = (*read)[pupil[0].toStdString()];
        QCOMPARE(all.size(), std::size_t(12));
        TStudent expected("", 0, 1);
        for (const LessonRecord &lesson : all) {
            QVERIFY(m_pg.psql(
                QStringLiteral("SELECT slot, hits, misses, time FROM palcomir.lesson_chars WHERE lesson = '%1'")
                    .arg(QString::fromStdString(lesson.uuid))));
            const QStringList cells = m_pg.output.split(u'\n').value(2).split(u'|');
            TCharCounts counts {};
            counts[std::size_t(cells.value(0).trimmed().toInt())] = { cells.value(1).trimmed().toUInt(),
                cells.value(3).trimmed().toUInt(), cells.value(2).trimmed().toUInt() };
            RecordCharCounts(expected, counts);
        }
        const TStudent &stored = roster->front();
        for (int c = 0; c < kStatCharCount; ++c) {
            QCOMPARE(stored.CharStats[std::size_t(c)].Speed, expected.CharStats[std::size_t(c)].Speed);
            QCOMPARE(stored.CharStats[std::size_t(c)].Accuracy, expected.CharStats[std::size_t(c)].Accuracy);
        }
    }

    // The server stops during a lesson: the lesson waits on the computer,
    // the learner is told once, and it arrives once when the server is back.
    // A lesson finished earlier but arriving later takes its place in order.
    void lessonsWaitForTheServer()
    {
        LocalPc pc(m_pg.connection());
        pc.registerPupil("Olek");
        const std::string id = pc.classroom.current()->Id;
        const int slot = statCharSlot('a');
        QVERIFY(m_pg.stop());
        pc.finishLesson(2000, slot, 20); // later
        pc.finishLesson(1000, slot, 12); // earlier, by another clock
        QCOMPARE(pc.serverAway(), 1);
        QCOMPARE(pc.classroom.current()->CharStats[std::size_t(slot)].Speed, 130.0F); // the last one here
        QVERIFY(m_pg.start());
        pc.classroom.syncWithServer();
        QVERIFY(pc.round());
        pc.classroom.syncWithServer();
        QVERIFY(pc.round());
        QCOMPARE(pc.serverAway(), 1);
        QVERIFY(m_pg.psql(QStringLiteral("SELECT count(*) FROM palcomir.lessons WHERE pupil = '%1'")
                              .arg(QString::fromStdString(id))));
        QVERIFY2(m_pg.output.contains(QStringLiteral(" 2\n")), qPrintable(m_pg.output));
        QVERIFY(pc.classroom.lessonsOf({ id })[id].size() == 2);
        // 21 keystrokes in 6 s, as the lesson finished last said.
        QCOMPARE(pc.classroom.current()->CharStats[std::size_t(slot)].Speed, 210.0F);

        // The same lesson sent again counts once.
        ClassServer server(m_pg.connection().toStdString(), QStringLiteral("test"));
        const std::vector<LessonRecord> stored = pc.classroom.lessons(id);
        QCOMPARE(stored.size(), std::size_t(2));
        LessonRecord again = stored.front();
        QCOMPARE(server.recordLesson(id, again), ClassServer::Sent::Known);
    }

    // What the computers' role may not do, the server refuses.
    void computersCannotChangeLessons_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("delete a lesson") << QStringLiteral("DELETE FROM palcomir.lessons");
        QTest::newRow("change a lesson") << QStringLiteral("UPDATE palcomir.lessons SET speed = 999");
        QTest::newRow("change a keystroke count") << QStringLiteral("UPDATE palcomir.lesson_chars SET hits = 0");
        QTest::newRow("write a record") << QStringLiteral("UPDATE palcomir.pupils SET stats = base_stats");
        QTest::newRow("remove a pupil") << QStringLiteral("DELETE FROM palcomir.pupils");
        QTest::newRow("add a lesson past the function")
            << QStringLiteral("INSERT INTO palcomir.lessons SELECT gen_random_uuid(), pupil, finished, kind, number,"
                              " detail, suggested, seconds, keystrokes, errors, speed, accuracy, computer"
                              " FROM palcomir.lessons LIMIT 1");
    }

    void computersCannotChangeLessons()
    {
        QFETCH(QString, sql);
        QVERIFY(m_pg.psqlRefused(sql, QStringLiteral("palcomir_pc"), PgServer::kPcPassword));
        QVERIFY2(m_pg.output.contains(QStringLiteral("permission denied")), qPrintable(m_pg.output));
        // The teacher's role may remove pupils, with their lessons.
        QVERIFY(m_pg.psql(QStringLiteral("SELECT count(*) FROM palcomir.lessons"),
            QStringLiteral("palcomir_nauczyciel"), QStringLiteral("palcomir"), PgServer::kTeacherPassword));
    }

    // A computer that cannot reach the server starts, tells once, and works:
    // pupils and lessons stay on it, waiting.
    void absentServerIsToldOnce_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::newRow("wrong password") << m_pg.connection(QStringLiteral("palcomir_pc"), QStringLiteral("zle"));
        QTest::newRow("no server at the address")
            << QStringLiteral("host=127.0.0.1 port=1 dbname=palcomir user=palcomir_pc");
    }

    void absentServerIsToldOnce()
    {
        QFETCH(QString, connection);
        LocalPc pc(connection);
        QCOMPARE(pc.serverAway(), 1);
        pc.registerPupil("Ewa");
        pc.finishLesson(3000, statCharSlot('e'), 15);
        pc.finishLesson(3100, statCharSlot('e'), 15);
        QCOMPARE(pc.serverAway(), 1);
        QCOMPARE(pc.classroom.roster().count(), 1);
        QCOMPARE(pc.classroom.lessons(pc.classroom.current()->Id).size(), std::size_t(2));
        HistoryStore history(pc.classroom.historyFile(), true);
        QCOMPARE(history.unsentLessons().size(), std::size_t(2));
    }

    // A history file that cannot be written does not keep a lesson from the server.
    void unwritableHistoryStillSends()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("palcomir-pc8.db"))); // no database can be opened there
        int studentNo = -1;
        Classroom classroom(QDir(folder.path()).filePath(QStringLiteral("pisarz.sta")), folder.path(),
            QStringLiteral("pc8"), studentNo);
        classroom.useClassServer({ m_pg.connection().toStdString(), "3b" });
        QSignalSpy round(&classroom, &Classroom::synced);
        classroom.load();
        QVERIFY(round.wait(30000));
        classroom.editableRoster().add(TStudent("Iga", 0, 0));
        classroom.saveRoster();
        QVERIFY(round.wait(30000));
        studentNo = classroom.roster().count() - 1;
        const std::string id = classroom.current()->Id;
        TCharCounts counts {};
        counts[std::size_t(statCharSlot('i'))] = { 12, 6000, 0 };
        LessonRecord record;
        record.when = 5000;
        record.chars = talliesOf(counts);
        classroom.recordLesson(counts, record);
        QVERIFY(round.wait(30000));
        classroom.setNextLesson(1202);
        QVERIFY(round.wait(30000));
        QVERIFY(
            m_pg.psql(QStringLiteral("SELECT count(l.id), p.next_lesson FROM palcomir.pupils p"
                                     " LEFT JOIN palcomir.lessons l ON l.pupil = p.id WHERE p.id = '%1' GROUP BY p.id")
                          .arg(QString::fromStdString(id))));
        QCOMPARE(m_pg.output.section(u'\n', 2, 2).simplified(), QStringLiteral("1 | 1202"));
    }

    // "Usuń" on a computer hides the pupil there; the class keeps them.
    void removingHidesHereOnly()
    {
        LocalPc pc(m_pg.connection());
        pc.registerPupil("Kuba");
        const std::string id = pc.classroom.current()->Id;
        QSignalSpy hidden(&pc.classroom, &Classroom::pupilsHidden);
        pc.classroom.editableRoster().remove(pc.studentNo);
        pc.classroom.saveRoster();
        pc.round();
        QCOMPARE(hidden.count(), 1);
        for (int i = 0; i < pc.classroom.roster().count(); ++i)
            QVERIFY(pc.classroom.roster().at(i).Id != id);
        const std::vector<TStudent> everyone = pc.classroom.classRoster();
        QVERIFY(std::any_of(everyone.begin(), everyone.end(), [&](const TStudent &s) { return s.Id == id; }));
    }

    // The window tells of the absent server once, and not while the pupil types.
    void windowTellsOnceBetweenLessons()
    {
        QTemporaryDir dir;
        QVERIFY(AppPaths::setDataDir(dir.path()));
        MessageRecorder recorder;
        TOptions options;
        options.Click = false;
        SDIDecFrame frame(builtLibrary(), options, LabSettings { "host=127.0.0.1 port=1 dbname=palcomir", "3b" });
        QSignalSpy round(&frame.classroom(), &Classroom::synced);
        frame.show();
        QVERIFY(frame.startStoredLesson(1201));
        QPointer<TLesson1> lesson = frame.lesson();
        QVERIFY(round.wait(30000));
        const auto told
            = [&recorder] { return recorder.texts().filter(QStringLiteral("Serwer klasy nie odpowiada")).size(); };
        QTest::qWait(1500);
        QCOMPARE(told(), 0);
        typeToTheEnd(lesson);
        QTRY_VERIFY(!lesson);
        QTRY_COMPARE(told(), 1);
        QVERIFY(frame.startStoredLesson(1202));
        lesson = frame.lesson();
        typeToTheEnd(lesson);
        QTRY_VERIFY(!lesson);
        frame.classroom().syncWithServer();
        QVERIFY(round.wait(30000));
        QTest::qWait(1500);
        QCOMPARE(told(), 1);
    }

private:
    PgServer m_pg;
};

QTEST_MAIN(TestClassServer)
#include "tst_classserver.moc"
