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

std::vector<std::string> names(std::initializer_list<const char *> list)
{
    std::vector<std::string> out;
    for (const char *name : list)
        out.push_back(W(name));
    return out;
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
            QVERIFY(store.syncStudents(names({ "Ala", "Łukasz" })));
            QVERIFY(store.record(1, lesson(1000, 150, { { 'l', 'k', 3 }, { 'l', 'p', 1 } })));
            QVERIFY(store.record(1, lesson(2000, 170, { { 'l', 'k', 2 } })));
            QVERIFY(store.takeProblem().isEmpty());
            QVERIFY(QFile::exists(m_path + QStringLiteral("-wal")));
        }
        HistoryStore store(m_path);
        QVERIFY(store.syncStudents(names({ "Ala", "Łukasz" })));
        QVERIFY(store.lessons(0).empty());
        const std::vector<LessonRecord> read = store.lessons(1);
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

        const std::vector<CharTally> chars = store.charTotals(1);
        QCOMPARE(chars.size(), std::size_t(2));
        QCOMPARE(chars[1].Char, 'l');
        QCOMPARE(chars[1].Hits, 80u);
        QCOMPARE(chars[1].Time, 18000u);
        const std::vector<TConfusion> pairs = store.confusionTotals(1);
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
              << QStringLiteral("INSERT INTO lessons VALUES (1, 7, 500, 0, 1201, '', 1, 60, 100, 2, 99.5, 98)")
              << QStringLiteral("INSERT INTO confusions VALUES (1, 108, 107, 2)");
        QVERIFY(runSql(m_path, first));

        HistoryStore store(m_path);
        QVERIFY(store.syncStudents(names({ "Ala" })));
        QCOMPARE(store.lessons(0).size(), std::size_t(1));
        QCOMPARE(store.lessons(0)[0].number, 1201);
        QCOMPARE(store.confusionTotals(0).size(), std::size_t(1));
        QVERIFY(store.charTotals(0).empty());
        QVERIFY(store.record(0, lesson(600, 120)));
        QCOMPARE(store.charTotals(0).size(), std::size_t(2));
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
        QVERIFY(store.syncStudents(names({ "Ala" })));
        LessonRecord next;
        next.chars = { { 'l', 10, 5, 1000, 1 } };
        QVERIFY(store.record(0, next));
        const std::vector<CharTally> chars = store.charTotals(0);
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
        QVERIFY(store.syncStudents(names({ "Ala" })));
        QCOMPARE(store.damagedCopy(), m_path + QStringLiteral(".bad"));
        QCOMPARE(readAll(store.damagedCopy()), content);
        QVERIFY(store.takeProblem().contains(QStringLiteral("uszkodzony")));
        QVERIFY(store.record(0, lesson(1, 100)));
        QCOMPARE(store.lessons(0).size(), std::size_t(1));
    }

    void foreignDatabaseIsCopiedAside()
    {
        QVERIFY(runSql(m_path, { QStringLiteral("CREATE TABLE notes (text TEXT)") }));
        const QByteArray before = readAll(m_path);
        HistoryStore store(m_path);
        QVERIFY(store.syncStudents(names({ "Ala" })));
        QCOMPARE(readAll(store.damagedCopy()), before);
    }

    void unusableFilesAreLeftAlone_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("told");
        QTest::newRow("made by a newer program") << true << "nowszej wersji";
        QTest::newRow("a folder where the file should be") << false << "Nie można otworzyć";
    }

    void unusableFilesAreLeftAlone()
    {
        QFETCH(bool, newer);
        QFETCH(QString, told);
        if (newer) {
            QVERIFY(runSql(m_path,
                { QStringLiteral("CREATE TABLE schema_version (version INTEGER)"),
                    QStringLiteral("INSERT INTO schema_version VALUES (99)") }));
        } else {
            QVERIFY(QDir().mkpath(m_path));
        }
        const QByteArray before = readAll(m_path);
        HistoryStore store(m_path);
        QVERIFY(!store.syncStudents(names({ "Ala" })));
        QVERIFY(!store.record(0, lesson(1, 100)));
        QVERIFY(store.takeProblem().contains(told));
        QVERIFY(store.takeProblem().isEmpty());
        QCOMPARE(readAll(m_path), before);
        QVERIFY(!QFile::exists(m_path + QStringLiteral(".bad")));
    }

    void keysFollowTheList()
    {
        HistoryStore store(m_path);
        QVERIFY(store.syncStudents(names({ "Ala", "Bartek", "Celina" })));
        for (int position = 0; position < 3; ++position)
            QVERIFY(store.record(position, lesson(position, float(100 + position))));

        // Removed in "Rejestracja": the history goes, the others move up.
        store.removeStudent(0);
        QVERIFY(store.syncStudents(names({ "Bartek", "Celina" })));
        QCOMPARE(store.lessons(0).front().speed, 101.0F);
        QCOMPARE(store.lessons(1).front().speed, 102.0F);

        // Added again under the old name: a new student with no history; a rename keeps it.
        QVERIFY(store.syncStudents(names({ "Bartłomiej", "Celina", "Ala" })));
        QCOMPARE(store.lessons(0).front().speed, 101.0F);
        QVERIFY(store.lessons(2).empty());

        // Read again at the next start.
        HistoryStore again(m_path);
        QVERIFY(again.syncStudents(names({ "Bartłomiej", "Celina", "Ala" })));
        QCOMPARE(again.lessons(1).front().speed, 102.0F);
        QVERIFY(again.lessons(2).empty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
