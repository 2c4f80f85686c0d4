#include "common/dataproblems.h"
#include "common/testsupport.h"
#include "history/historystore.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

LessonRecord lesson(std::int64_t when, float speed, std::vector<TConfusion> confusions = {})
{
    LessonRecord r;
    r.when = when;
    r.kind = LessonKind::Words;
    r.detail = "ąlk";
    r.suggested = true;
    r.seconds = 75;
    r.keystrokes = 120;
    r.errors = 6;
    r.speed = speed;
    r.accuracy = 95.0F;
    r.chars = { { 'l', 40, 4, 9000 }, { 'k', 30, 0, 5000 } };
    r.confusions = std::move(confusions);
    return r;
}

// Runs SQL on the file beside the store, as another program would.
bool runSql(const QString &path, const QStringList &statements, QVariant *firstValue = nullptr)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("side"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &statement : statements)
            ok = ok && q.exec(statement);
        if (ok && firstValue && q.next())
            *firstValue = q.value(0);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    return ok;
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("palcomir.db"));
        QDir(m_path).removeRecursively();
        for (const QString &file : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(file));
    }

    void writtenAndReadBack()
    {
        {
            HistoryStore store(m_path);
            QVERIFY(store.record("b", W("Łukasz"), lesson(1000, 150, { { 'l', 'k', 3 }, { 'l', 'p', 1 } })));
            QVERIFY(store.record("b", W("Łukasz"), lesson(2000, 170, { { 'l', 'k', 2 } })));
            QVERIFY(!store.takeProblem());
            QVERIFY(QFile::exists(m_path + QStringLiteral("-wal")));
        }
        // Closed, the file alone holds everything: a backup of it is whole.
        QVERIFY(!QFile::exists(m_path + QStringLiteral("-wal")));
        // Another computer's file is only read.
        HistoryStore store(m_path, true);
        QVERIFY(store.lessons("a").empty());
        QVERIFY(!store.record("b", W("Łukasz"), lesson(3000, 100)));
        const std::vector<LessonRecord> read = store.lessons("b");
        QCOMPARE(read.size(), std::size_t(2));
        const LessonRecord &r = read[0];
        QCOMPARE(r.when, 1000);
        QCOMPARE(r.kind, LessonKind::Words);
        QCOMPARE(r.detail, std::string("ąlk"));
        QVERIFY(r.suggested);
        QCOMPARE(r.seconds, 75u);
        QCOMPARE(r.keystrokes, 120u);
        QCOMPARE(r.errors, 6u);
        QCOMPARE(r.speed, 150.0F);
        QCOMPARE(read[1].speed, 170.0F);

        const std::vector<CharTally> chars = store.charTotals("b");
        QCOMPARE(chars.size(), std::size_t(2));
        QCOMPARE(chars[1].Char, 'l');
        QCOMPARE(chars[1].Hits, 80u);
        QCOMPARE(chars[1].Time, 18000u);
        const std::vector<TConfusion> pairs = store.confusionTotals("b");
        QCOMPARE(pairs.size(), std::size_t(2));
        QCOMPARE(pairs[0].Typed, 'k');
        QCOMPARE(pairs[0].Count, 5u);
    }

    void migratedFromTheFirstSchema()
    {
        QStringList first;
        for (const char *statement : HistoryStore::migrations().front())
            first << QString::fromUtf8(statement);
        first << QStringLiteral("UPDATE schema_version SET version = 1")
              << QStringLiteral("INSERT INTO students VALUES (7, 0, 'Ala')")
              << QStringLiteral("INSERT INTO students VALUES (8, 1, 'Jan')")
              << QStringLiteral("INSERT INTO lessons VALUES (1, 7, 500, 0, 1201, '', 1, 60, 100, 2, 99.5, 98)")
              << QStringLiteral("INSERT INTO lessons VALUES (2, 8, 500, 0, 1202, '', 1, 60, 100, 2, 99.5, 98)")
              << QStringLiteral("INSERT INTO confusions VALUES (1, 108, 107, 2)");
        QVERIFY(runSql(m_path, first));

        // Ala is still at her place; a new list put Zosia where Jan was.
        HistoryStore store(m_path);
        store.adoptPupils({ { "Ala", "ala" }, { "Zosia", "zosia" } });
        QCOMPARE(store.lessons("ala").size(), std::size_t(1));
        QCOMPARE(store.lessons("ala")[0].number, 1201);
        QCOMPARE(store.confusionTotals("ala").size(), std::size_t(1));
        QVERIFY(store.charTotals("ala").empty());
        QVERIFY(store.lessons("zosia").empty());
        const auto pupils = store.pupils();
        QCOMPARE(pupils.size(), std::size_t(2));
        QVERIFY(std::count_if(pupils.begin(), pupils.end(), [](const auto &p) { return p.second == "Jan"; }) == 1);
        QVERIFY(store.record("ala", "Ala", lesson(600, 120)));
        QCOMPARE(store.charTotals("ala").size(), std::size_t(2));
        QVariant version;
        QVERIFY(runSql(m_path, { QStringLiteral("SELECT version FROM schema_version") }, &version));
        QCOMPARE(version.toInt(), HistoryStore::kSchemaVersion);
    }

    // Lessons kept before the places missed were counted count each wrong
    // key as a place, as they did; new lessons add their own places.
    void migratedFromTheSecondSchema()
    {
        QStringList second;
        for (std::size_t step = 0; step < 2; ++step) {
            for (const char *statement : HistoryStore::migrations()[step])
                second << QString::fromUtf8(statement);
        }
        second << QStringLiteral("UPDATE schema_version SET version = 2")
               << QStringLiteral("INSERT INTO students VALUES (7, 0, 'Ala')")
               << QStringLiteral("INSERT INTO lessons VALUES (1, 7, 500, 0, 1201, '', 1, 60, 100, 2, 99.5, 98)")
               << QStringLiteral("INSERT INTO lesson_chars VALUES (1, 108, 40, 7, 9000)");
        QVERIFY(runSql(m_path, second));

        HistoryStore store(m_path);
        store.adoptPupils({ { "Ala", "ala" } });
        LessonRecord next;
        next.chars = { { 'l', 10, 5, 1000, 1 } };
        QVERIFY(store.record("ala", "Ala", next));
        const std::vector<CharTally> chars = store.charTotals("ala");
        QCOMPARE(chars.size(), std::size_t(1));
        QCOMPARE(chars[0].Misses, 12u);
        QCOMPARE(chars[0].MissedPlaces, 8u);
    }

    void damagedFileIsCopiedAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        static constexpr char kNotADatabase[] = "Stukomat\0\x01\x02 not a database";
        QTest::newRow("no database at all") << QByteArray(kNotADatabase, sizeof kNotADatabase - 1);
        QTest::newRow("a database header over garbage")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xA5');
    }

    void damagedFileIsCopiedAside()
    {
        QFETCH(QByteArray, content);
        QVERIFY(writeAll(m_path, content));
        HistoryStore store(m_path);
        QVERIFY(store.record("a", "Ala", lesson(1, 100)));
        QCOMPARE(store.damagedCopy(), m_path + QStringLiteral(".bad"));
        QCOMPARE(readAll(store.damagedCopy()), content);
        QCOMPARE(store.takeProblem(),
            (DataProblem { DataProblem::Code::HistoryDamagedCopied, m_path, store.damagedCopy() }));
        QCOMPARE(store.lessons("a").size(), std::size_t(1));
    }

    void foreignDatabaseIsCopiedAside()
    {
        QVERIFY(runSql(m_path, { QStringLiteral("CREATE TABLE notes (text TEXT)") }));
        const QByteArray before = readAll(m_path);
        HistoryStore store(m_path);
        QVERIFY(store.record("a", "Ala", lesson(1, 100)));
        QCOMPARE(readAll(store.damagedCopy()), before);
    }

    void unusableFilesAreLeftAlone_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::addColumn<DataProblem::Code>("told");
        QTest::newRow("made by a newer program") << true << DataProblem::Code::HistoryTooNew;
        QTest::newRow("a folder where the file should be") << false << DataProblem::Code::HistoryNotOpened;
    }

    void unusableFilesAreLeftAlone()
    {
        QFETCH(bool, newer);
        QFETCH(DataProblem::Code, told);
        if (newer) {
            QVERIFY(runSql(m_path,
                { QStringLiteral("CREATE TABLE schema_version (version INTEGER)"),
                    QStringLiteral("INSERT INTO schema_version VALUES (99)") }));
        } else {
            QVERIFY(QDir().mkpath(m_path));
        }
        const QByteArray before = readAll(m_path);
        HistoryStore store(m_path);
        QVERIFY(!store.record("a", "Ala", lesson(1, 100)));
        QCOMPARE(store.takeProblem(), (DataProblem { told, m_path }));
        QVERIFY(!store.takeProblem());
        QCOMPARE(readAll(m_path), before);
        QVERIFY(!QFile::exists(m_path + QStringLiteral(".bad")));
    }

    void removedPupilTakesOnlyTheirLessons()
    {
        HistoryStore store(m_path);
        // Two pupils of one name are two pupils.
        for (const char *id : { "a", "b", "c" })
            QVERIFY(store.record(id, "Ala", lesson(id[0], float(id[0]))));
        store.removePupil("a");
        QVERIFY(store.lessons("a").empty());
        QCOMPARE(store.lessons("b").front().speed, float('b'));
        HistoryStore again(m_path);
        QCOMPARE(again.lessons("c").front().speed, float('c'));
        QVERIFY(again.lessons("a").empty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
