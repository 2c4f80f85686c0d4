#include "app/savedstates.h"
#include "common/testsupport.h"
#include "settings/settingsfile.h"
#include "students/tstudentlist.h"

#include <csignal>
#include <random>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kClassKills = 15; // every start and save is many times slower under the sanitizers
#else
constexpr int kClassKills = 60;
#endif

quint32 testSeed()
{
    return qEnvironmentVariableIsSet("PALCOMIR_SEED") ? quint32(qEnvironmentVariableIntValue("PALCOMIR_SEED"))
                                                      : QRandomGenerator::global()->generate();
}

// The pupils of the class's list as a computer's reports tell them: the
// change whose save it had not reported yet may or may not be on disk.
struct ClassList {
    QSet<QString> saved;
    QByteArray pending; // "add <name>" or "remove <name>"

    QSet<QString> withPending() const
    {
        QSet<QString> names = saved;
        const QString name = QString::fromLatin1(pending.mid(pending.indexOf(' ') + 1));
        if (pending.startsWith("add "))
            names.insert(name);
        else if (pending.startsWith("remove "))
            names.remove(name);
        return names;
    }

    // One line of the computer's output; a fault when what it loaded is not the list.
    QString follow(const QByteArray &line)
    {
        if (line.startsWith("loaded")) {
            QSet<QString> loaded;
            for (const QByteArray &name : line.split(' ').mid(1))
                loaded.insert(QString::fromLatin1(name));
            if (loaded != saved)
                return QStringLiteral("loaded %1 pupils, %2 were saved").arg(loaded.size()).arg(saved.size());
        } else if (line == "saved") {
            saved = withPending();
            pending.clear();
        } else if (!line.isEmpty()) {
            pending = line;
        }
        return {};
    }
};

// What a kill left on disk.
struct OnDisk {
    int listVersion = -1;
    int settingsVersion = -1;
    QString fault; // empty when both files are whole versions
};

} // namespace

class TestKilledSaves : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QHash<int, QByteArray> m_settingsBytes;

    // The settings file of version k as a save writes it.
    QByteArray settingsBytes(int k)
    {
        if (!m_settingsBytes.contains(k)) {
            const QString path = m_scratch.filePath(QStringLiteral("pisarz.ini"));
            QFile::remove(path);
            if (!SettingsFile::save(path, savedstates::options(k)))
                return {};
            m_settingsBytes.insert(k, readAll(path));
        }
        return m_settingsBytes.value(k);
    }

    OnDisk inspect(const QDir &dir)
    {
        OnDisk found;
        const QByteArray list = readAll(dir.filePath(QStringLiteral("pisarz.sta")));
        const TStudentList::ReadResult read = TStudentList::parse(list.toStdString());
        found.listVersion = savedstates::versionOf(read.list);
        if (read.outcome != TStudentList::ReadOutcome::Complete || found.listVersion < 0) {
            found.fault = QStringLiteral("the student list is not whole (%1 bytes)").arg(list.size());
            return found;
        }
        if (bytes(savedstates::list(found.listVersion).serialize()) != list) {
            found.fault = QStringLiteral("the student list is not version %1 as written").arg(found.listVersion);
            return found;
        }
        const QString ini = dir.filePath(QStringLiteral("pisarz.ini"));
        const TOptions options = SettingsFile::load(ini);
        found.settingsVersion = options.StudentNo;
        if (!savedstates::sameOptions(options, savedstates::options(found.settingsVersion))
            || readAll(ini) != settingsBytes(found.settingsVersion))
            found.fault = QStringLiteral("the settings are no version written: ") + QString::fromLatin1(readAll(ini));
        return found;
    }

private slots:
    void initTestCase() { QVERIFY(m_scratch.isValid()); }

    // A run killed at any moment leaves both files as some version it or an
    // earlier run wrote completely: never torn, empty or missing. The list
    // is saved before the settings, so the settings are never ahead of it,
    // and a later run reads what the test sees, whatever the saves left.
    void everyKillLeavesWholeFiles()
    {
        const quint32 seed = testSeed();
        const QByteArray withSeed = " (PALCOMIR_SEED=" + QByteArray::number(seed) + ")";
        std::mt19937 random(seed);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir data(dir.path());
        QProcess first;
        first.start(QStringLiteral(SAVELOOP_EXECUTABLE), { dir.path(), QStringLiteral("1") });
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);

        OnDisk before = inspect(data);
        QVERIFY2(before.fault.isEmpty(), qPrintable(before.fault));
        int duringStart = 0, inLoop = 0, unchanged = 0;
        QStringList leftovers; // a save's temporary names, when a kill came between its two steps
        qint64 versions = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess run;
            run.start(QStringLiteral(SAVELOOP_EXECUTABLE), { dir.path() });
            QVERIFY(run.waitForStarted(20000));
            // One kill in ten lands while the program starts and reads the files.
            if (random() % 10 == 0) {
                ++duringStart;
                QThread::usleep(random() % 20000);
            } else {
                ++inLoop;
                QVERIFY(run.waitForReadyRead(20000));
                const QByteArray loaded = run.readLine().trimmed();
                const QByteArray expected = "loaded " + QByteArray::number(before.listVersion) + ' '
                    + QByteArray::number(before.settingsVersion);
                QVERIFY2(loaded == expected, (loaded + " after " + expected + withSeed).constData());
                QThread::usleep(random() % 30000);
            }
            ::kill(pid_t(run.processId()), SIGKILL);
            QVERIFY(run.waitForFinished(20000));
            QCOMPARE(run.exitStatus(), QProcess::CrashExit);

            const OnDisk after = inspect(data);
            const QByteArray where = " after kill " + QByteArray::number(kill + 1) + withSeed;
            QVERIFY2(after.fault.isEmpty(), qPrintable(after.fault + QString::fromLatin1(where)));
            QVERIFY2(after.listVersion >= before.listVersion && after.settingsVersion >= before.settingsVersion,
                ("a file went back to an older version" + where).constData());
            QVERIFY2(after.settingsVersion <= after.listVersion,
                ("list " + QByteArray::number(after.listVersion) + ", settings "
                    + QByteArray::number(after.settingsVersion) + where)
                    .constData());
            if (after.listVersion == before.listVersion)
                ++unchanged;
            versions += after.listVersion - before.listVersion;
            before = after;
            leftovers = data.entryList(QDir::Files | QDir::Hidden);
            leftovers.removeAll(QStringLiteral("pisarz.sta"));
            leftovers.removeAll(QStringLiteral("pisarz.ini"));
        }
        QVERIFY2(data.entryList({ QStringLiteral("*.bad*") }, QDir::Files).isEmpty(), withSeed.constData());
        qInfo("200 kills: %d while starting, %d while saving; %lld versions written, %d kills before a new one;"
              " %d files left beside the two (%s); seed %u",
            duringStart, inLoop, versions, unchanged, int(leftovers.size()),
            qPrintable(leftovers.mid(0, 3).join(QLatin1Char(' '))), seed);
        // A save takes milliseconds: most kills must have found the loop saving.
        QVERIFY2(versions >= inLoop / 2, withSeed.constData());
    }

    // A computer of a class killed while it saves through the class's lock
    // (taking the lock, reading the list, merging, writing the identities
    // and the list, the history) leaves the list whole, with every pupil a
    // save was reported for. The next start takes the dead computer's lock
    // over at once, loads just those pupils and saves again.
    void everyKillLeavesTheClassListWhole()
    {
        const quint32 seed = testSeed();
        const QByteArray withSeed = " (PALCOMIR_SEED=" + QByteArray::number(seed) + ")";
        std::mt19937 random(seed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir data(dir.path());
        const QString listFile = data.filePath(QStringLiteral("pisarz.sta"));
        const QString lockFile = listFile + QStringLiteral(".lock");

        ClassList list;
        int locksLeft = 0, emptyLocks = 0;
        for (int kill = 0; kill <= kClassKills; ++kill) {
            const bool last = kill == kClassKills; // runs to its end
            const QByteArray where = " at start " + QByteArray::number(kill + 1) + withSeed;
            QProcess run;
            QStringList arguments { QStringLiteral("--class"), dir.path() };
            if (last)
                arguments << QStringLiteral("5");
            QElapsedTimer clock;
            clock.start();
            run.start(QStringLiteral(SAVELOOP_EXECUTABLE), arguments);
            QVERIFY(run.waitForStarted(20000));
            if (!last && random() % 10 == 0) {
                // Killed while it starts: reading the list and its identities under the lock.
                QThread::usleep(random() % 20000);
            } else {
                // Loaded, and a first save made, before the kill: a lock
                // left by the last kill was taken over, not waited out.
                bool savedOnce = false;
                while (!savedOnce) {
                    if (!run.canReadLine()) {
                        if (!run.waitForReadyRead(20000))
                            break;
                        continue;
                    }
                    const QByteArray line = run.readLine().trimmed();
                    const QString fault = list.follow(line);
                    QVERIFY2(fault.isEmpty(), qPrintable(fault + QString::fromLatin1(where)));
                    savedOnce = line == "saved";
                }
                QVERIFY2(savedOnce, (run.readAllStandardError() + "no save" + where).constData());
                QVERIFY2(clock.elapsed() < 5000,
                    (QByteArray::number(clock.elapsed()) + " ms to the first save" + where).constData());
                if (!last)
                    QThread::usleep(random() % 30000);
            }
            if (last) {
                QVERIFY(run.waitForFinished(20000));
                QCOMPARE(run.exitStatus(), QProcess::NormalExit);
            } else {
                ::kill(pid_t(run.processId()), SIGKILL);
                QVERIFY(run.waitForFinished(20000));
                QCOMPARE(run.exitStatus(), QProcess::CrashExit);
            }
            for (const QByteArray &line : run.readAllStandardOutput().split('\n')) {
                const QString fault = list.follow(line.trimmed());
                QVERIFY2(fault.isEmpty(), qPrintable(fault + QString::fromLatin1(where)));
            }
            const QByteArray said = run.readAllStandardError();
            QVERIFY2(said.isEmpty(), (said + where).constData());
            if (last)
                QCOMPARE(run.exitCode(), 0);

            // The list on disk is whole and holds every pupil whose save was
            // reported; the change being saved when the kill came may be there.
            QSet<QString> onDisk;
            if (QFile::exists(listFile)) {
                const TStudentList::ReadResult read = TStudentList::parse(readAll(listFile).toStdString());
                QVERIFY2(
                    read.outcome == TStudentList::ReadOutcome::Complete, ("the list is not whole" + where).constData());
                for (int i = 0; i < read.list.count(); ++i)
                    onDisk.insert(QString::fromStdString(read.list.at(i).Name));
            }
            QVERIFY2(onDisk == list.saved || onDisk == list.withPending(),
                (QByteArray::number(onDisk.size()) + " pupils on disk, " + QByteArray::number(list.saved.size())
                    + " saved" + where)
                    .constData());
            list.saved = onDisk;
            list.pending.clear();
            if (QFile::exists(lockFile)) {
                ++locksLeft;
                emptyLocks += QFileInfo(lockFile).size() == 0;
            }
        }
        QVERIFY2(data.entryList({ QStringLiteral("*.bad*") }, QDir::Files).isEmpty(), withSeed.constData());
        QVERIFY(!QFile::exists(lockFile));
        qInfo("%d kills, %d of them left the lock behind (%d of these empty); %d pupils on the list; seed %u",
            kClassKills, locksLeft, emptyLocks, int(list.saved.size()), seed);
        QVERIFY2(locksLeft > 0, withSeed.constData());
    }
};

QTEST_GUILESS_MAIN(TestKilledSaves)
#include "tst_killedsaves.moc"
