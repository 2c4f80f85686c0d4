#include "common/dataproblems.h"
#include "common/testsupport.h"
#include "students/studentstore.h"

#include <QTemporaryDir>

namespace {

TStudentList twoStudents()
{
    TStudentList list;
    list.add(TStudent(W("Zoja"), 0, 0));
    list.add(TStudent(W("Jędrek"), 0, 1));
    return list;
}

QByteArray cutInSecondRecord()
{
    const std::string good = twoStudents().serialize();
    return bytes(good.substr(0, 41 + 924 + 100));
}

} // namespace

class TestStudentStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("pisarz.sta"));
    }

    void missingFileStartsAnEmptyList()
    {
        StudentStore store(m_path);
        QCOMPARE(store.load().count(), 0);
        QCOMPARE(store.outcome(), TStudentList::ReadOutcome::Empty);
        QVERIFY(!store.problem());
        QVERIFY(store.save(TStudentList()));
        QCOMPARE(readAll(m_path).size(), 77);
        QCOMPARE(files(), QStringList { QStringLiteral("pisarz.sta") });
    }

    void savedListReadsBackIdentically()
    {
        StudentStore store(m_path);
        store.load();
        QVERIFY(store.save(twoStudents()));
        const QByteArray saved = readAll(m_path);
        StudentStore again(m_path);
        const TStudentList list = again.load();
        QCOMPARE(again.outcome(), TStudentList::ReadOutcome::Complete);
        QVERIFY(!again.problem());
        QCOMPARE(bytes(list.at(1).Name), bytes(W("Jędrek")));
        QVERIFY(again.save(list));
        QCOMPARE(readAll(m_path), saved);
        QCOMPARE(files(), QStringList { QStringLiteral("pisarz.sta") }); // no temporary file left behind
    }

    void damagedFileIsCopiedAsideBeforeItIsReplaced_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("students");
        const std::string good = twoStudents().serialize();
        QTest::newRow("cut inside the second student") << cutInSecondRecord() << 1;
        QTest::newRow("another program's file") << QByteArray("[Stukomat]\nShowAfaterStart=Yes\n") << 0;
        std::string mismatch = good;
        mismatch[good.size() - 32] = 3;
        QTest::newRow("trailer count off by one") << bytes(mismatch) << 0;
    }

    void damagedFileIsCopiedAsideBeforeItIsReplaced()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, students);
        QVERIFY(writeAll(m_path, file));
        StudentStore store(m_path);
        TStudentList list = store.load();
        QCOMPARE(list.count(), students);
        QCOMPARE(store.damagedCopy(), m_path + QStringLiteral(".bad"));
        QCOMPARE(readAll(store.damagedCopy()), file);
        const DataProblem told { DataProblem::Code::ListDamagedCopied, m_path, store.damagedCopy(), students };
        QCOMPARE(store.problem(), told);
        list.add(TStudent("Nowy", 0, 1));
        QVERIFY(store.save(list));
        QCOMPARE(TStudentList::parse(readAll(m_path).toStdString()).list.count(), students + 1);
        QCOMPARE(readAll(store.damagedCopy()), file);
    }

    void earlierCopyIsNeverOverwritten()
    {
        QVERIFY(writeAll(m_path + QStringLiteral(".bad"), "an older damaged list"));
        QVERIFY(writeAll(m_path, cutInSecondRecord()));
        StudentStore store(m_path);
        store.load();
        QVERIFY(store.damagedCopy().startsWith(m_path + QStringLiteral(".bad-")));
        QCOMPARE(readAll(store.damagedCopy()), cutInSecondRecord());
        QCOMPARE(readAll(m_path + QStringLiteral(".bad")), QByteArray("an older damaged list"));

        // The same damaged file found again (it could not be replaced) is not copied twice.
        StudentStore again(m_path);
        again.load();
        QCOMPARE(again.damagedCopy(), store.damagedCopy());
        QCOMPARE(files().size(), 3);
    }

    void sameDamagedFileFoundAgainReusesItsCopy()
    {
        QVERIFY(writeAll(m_path, cutInSecondRecord()));
        QVERIFY(writeAll(m_path + QStringLiteral(".bad"), cutInSecondRecord()));
        StudentStore store(m_path);
        store.load();
        QCOMPARE(store.damagedCopy(), m_path + QStringLiteral(".bad"));
        QCOMPARE(files().size(), 2);
    }

    // With no copy, the damaged file is the only record of those students: this run leaves it alone.
    void damagedFileThatCannotBeCopiedIsLeftAlone()
    {
        // A name so long that any copy's name is too long for the file system.
        const QString path = m_dir->filePath(QString(252, QLatin1Char('s')));
        QVERIFY(writeAll(path, cutInSecondRecord()));
        StudentStore store(path);
        QCOMPARE(store.load().count(), 1);
        QVERIFY(store.damagedCopy().isEmpty());
        QVERIFY(!store.writable());
        QCOMPARE(store.problem(), (DataProblem { DataProblem::Code::ListDamagedKept, path, {}, 1 }));
        QVERIFY(!store.save(twoStudents()));
        QCOMPARE(readAll(path), cutInSecondRecord());
    }

    void unreadableFileIsLeftAlone_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a folder where the file should be") << true;
        QTest::newRow("a file beyond the size limit") << false;
    }

    void unreadableFileIsLeftAlone()
    {
        QFETCH(bool, directory);
        const QByteArray big = bytes(twoStudents().serialize());
        QVERIFY(directory ? QDir().mkpath(m_path) : writeAll(m_path, big));
        StudentStore store(m_path, big.size() - 1);
        QCOMPARE(store.load().count(), 0);
        QVERIFY(!store.writable());
        QCOMPARE(store.problem(), (DataProblem { DataProblem::Code::ListUnreadable, m_path }));
        QVERIFY(!store.save(twoStudents()));
        if (directory)
            QVERIFY(QFileInfo(m_path).isDir());
        else
            QCOMPARE(readAll(m_path), big);
    }

    void emptyFileIsNoDamage()
    {
        QVERIFY(writeAll(m_path, QByteArray()));
        StudentStore store(m_path);
        QCOMPARE(store.load().count(), 0);
        QVERIFY(!store.problem());
        QVERIFY(store.damagedCopy().isEmpty());
        QVERIFY(store.save(twoStudents()));
    }
};

QTEST_GUILESS_MAIN(TestStudentStore)
#include "tst_studentstore.moc"
