#include "app/apppaths.h"
#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "classroom/classroom.h"
#include "common/modaldismisser.h"
#include "common/testsupport.h"
#include "students/tnewdlg.h"
#include "students/tstuddlg.h"
#include "students/tstudentlist.h"
#include "widgets/messages.h"

#include <csignal>
#include <optional>
#include <sys/resource.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// A version 0 student list (no ':' marker, 16-bit integers) with the given names:
// once the program has saved it, it is version 257.
QByteArray oldList(const QList<QByteArray> &names)
{
    const QByteArray header("\x1CStukomat 1.0 - StudentList\n\x1A", 29);
    auto u16 = [](int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8)); };
    QByteArray file = header + u16(int(names.size()));
    for (const QByteArray &name : names)
        file += char(name.size()) + name + u16(0) + u16(1) + u16(1201) + QByteArray(904, '\0');
    return file + u16(int(names.size())) + header;
}

TStudentList parsed(const QByteArray &file)
{
    return TStudentList::parse(file.toStdString()).list;
}

QStringList namesIn(const QString &path)
{
    const TStudentList list = parsed(readAll(path));
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << QString::fromLatin1(list.at(i).Name);
    return names;
}

// The signals the process catches, from the kernel's view of it.
quint64 caughtSignals(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

// While it lives, no file of this process may grow past a few hundred
// bytes, as on a full disk: a write beyond that fails instead of raising
// SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool isSet() const { return m_set; }

private:
    void (*m_handler)(int);
    rlimit m_saved {};
    bool m_set = false;
};

} // namespace

class TestSavingFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QString> m_stops;

    QString ini() const { return m_dir->filePath(QStringLiteral("pisarz.ini")); }
    QString sta() const { return m_dir->filePath(QStringLiteral("pisarz.sta")); }

    StartupOptions options() const
    {
        StartupOptions options;
        options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
        options.dataDir = m_dir->path();
        return options;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_stops.clear();
        Messages::setHook([this](Messages::Kind kind, const QString &, const QString &text) {
            if (kind == Messages::Kind::Stop)
                m_stops << text;
            return false;
        });
    }

    void cleanup() { Messages::setHook({}); }

    // A logout, a shutdown or Ctrl+C ends the program like closing its window.
    void signalEndsTheRunAndSavesBothFiles_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalEndsTheRunAndSavesBothFiles()
    {
        QFETCH(int, signal);
        QVERIFY(
            writeAll(ini(), "; sala 3\n[Stukomat]\nShowAfaterStart=No\n[Students]\nStudentNo=1\n[Sounds]\nType=7\n"));
        QVERIFY(writeAll(sta(), oldList({ "Ala", "Ola" })));

        QProcess program;
        program.start(
            QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")), { QStringLiteral("--data-dir"), m_dir->path() });
        QVERIFY(program.waitForStarted(20000));
        const quint64 bit = quint64(1) << (signal - 1);
        QTRY_VERIFY_WITH_TIMEOUT((caughtSignals(program.processId()) & bit) != 0, 20000);
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        const QByteArray settings = readAll(ini());
        QVERIFY2(settings.startsWith("; sala 3\n[Stukomat]\nShowAfaterStart=No\nErrorType=0\n[Students]\nStudentNo=1\n"
                                     "[Sounds]\nType=0\nClick=Yes\n"),
            settings.constData());
        QVERIFY(settings.contains("ShowHands=Yes"));
        QCOMPARE(readAll(sta()).left(5), QByteArray(":\x01\x01\x00\x00", 5));
        QCOMPARE(namesIn(sta()), QStringList({ "Ala", "Ola" }));
    }

    void storedStudentNoPastTheListIsResetAndSaved_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("3 of 3") << QByteArray("3") << -1;
        QTest::newRow("7 of 3") << QByteArray("7") << -1;
        QTest::newRow("-5") << QByteArray("-5") << -1;
        QTest::newRow("2 of 3 stays") << QByteArray("2") << 2;
    }

    void storedStudentNoPastTheListIsResetAndSaved()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        QVERIFY(writeAll(ini(), "[Students]\nStudentNo=" + stored + "\n"));
        QVERIFY(writeAll(sta(), oldList({ "Ala", "Ola", "Ela" })));
        {
            const ModalDismisser dismisser;
            TypingApp app(options());
            QCOMPARE(app.start(), 0);
            QCOMPARE(app.options().StudentNo, expected);
            QCOMPARE(app.mainWindow()->classroom().roster().count(), 3);
        }
        QVERIFY(readAll(ini()).contains("StudentNo=" + QByteArray::number(expected) + "\n"));
        QCOMPARE(namesIn(sta()), QStringList({ "Ala", "Ola", "Ela" }));
    }

    void firstRunWritesBothFilesAtExit()
    {
        {
            const ModalDismisser dismisser;
            TypingApp app(options());
            QCOMPARE(app.start(), 0);
            QVERIFY(!QFile::exists(ini()));
        }
        QCOMPARE(readAll(sta()).size(), 77);
        QVERIFY(readAll(ini()).contains("[Sounds]\nClick=Yes\nType=0\n"));
        QVERIFY(m_stops.isEmpty());
    }

    // Killing the program right after a change in "Rejestracja" loses nothing.
    void everyChangeInRegistrationIsSavedAtOnce()
    {
        QVERIFY(writeAll(sta(), oldList({ "Ala", "Ola" })));
        QVERIFY(writeAll(ini(), "[Stukomat]\nShowAfaterStart=No\n[Students]\nStudentNo=1\n"));
        TypingApp app(options());
        QCOMPARE(app.start(), 0);
        SDIDecFrame *frame = app.mainWindow();

        QStringList onDiskAfterAdding, onDiskAfterRemoving;
        QTimer::singleShot(0, frame, [&] {
            TStudDlg *dialog = frame->findChild<TStudDlg *>();
            QVERIFY(dialog);
            QTimer::singleShot(0, dialog, [dialog] {
                TNewDlg *added = dialog->findChild<TNewDlg *>();
                QVERIFY(added);
                added->findChild<QLineEdit *>(QStringLiteral("101"))->setText(QStringLiteral("Ela"));
                added->findChild<QPushButton *>(QStringLiteral("1"))->click();
            });
            dialog->findChild<QPushButton *>(QStringLiteral("102"))->click();
            onDiskAfterAdding = namesIn(sta());

            // remove "Ala": the current student "Ola" moves up to index 0
            Messages::setHook([](Messages::Kind, const QString &, const QString &) { return true; });
            dialog->findChild<QListWidget *>(QStringLiteral("101"))->setCurrentRow(1);
            dialog->findChild<QPushButton *>(QStringLiteral("103"))->click();
            onDiskAfterRemoving = namesIn(sta());
            dialog->findChild<QPushButton *>(QStringLiteral("2"))->click();
        });
        frame->openRegistration();
        QCOMPARE(onDiskAfterAdding, QStringList({ "Ala", "Ola", "Ela" }));
        QCOMPARE(onDiskAfterRemoving, QStringList({ "Ola", "Ela" }));
        QCOMPARE(app.options().StudentNo, 0);
    }

    // Two students added on a full disk: both files stay as they were, and
    // the learner hears of it once, not at every save.
    void fullDiskKeepsTheFilesAndTellsOnce()
    {
        const QByteArray list = oldList({ "Ala", "Ola" });
        const QByteArray settings("[Stukomat]\nShowAfaterStart=No\n[Students]\nStudentNo=1\n");
        QVERIFY(writeAll(sta(), list));
        QVERIFY(writeAll(ini(), settings));
        {
            std::optional<FileSizeLimit> full; // until the program has ended
            TypingApp app(options());
            QCOMPARE(app.start(), 0);
            SDIDecFrame *frame = app.mainWindow();
            full.emplace(100);
            QVERIFY(full->isSet());
            QTimer::singleShot(0, frame, [frame] {
                TStudDlg *dialog = frame->findChild<TStudDlg *>();
                QVERIFY(dialog);
                for (const QString &name : { QStringLiteral("Ela"), QStringLiteral("Iza") }) {
                    QTimer::singleShot(0, dialog, [dialog, name] {
                        TNewDlg *added = dialog->findChild<TNewDlg *>();
                        QVERIFY(added);
                        added->findChild<QLineEdit *>(QStringLiteral("101"))->setText(name);
                        added->findChild<QPushButton *>(QStringLiteral("1"))->click();
                    });
                    dialog->findChild<QPushButton *>(QStringLiteral("102"))->click();
                }
                dialog->findChild<QPushButton *>(QStringLiteral("2"))->click();
            });
            frame->openRegistration();
            QCOMPARE(frame->classroom().roster().count(), 4);
            QCOMPARE(readAll(sta()), list);
            app.options().ShowHands = false;
        }
        QCOMPARE(m_stops,
            QStringList { QStringLiteral(
                "Nie można zapisać listy uczniów do pliku %1. Zapis zostanie ponowiony po następnej lekcji.")
                              .arg(QDir::toNativeSeparators(sta())) });
        QCOMPARE(readAll(sta()), list);
        QCOMPARE(readAll(ini()), settings);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
            QStringList(
                { QStringLiteral("pisarz.ini"), QStringLiteral("pisarz.sta"), QStringLiteral("pisarz.sta.ids") }));
    }

    void damagedListIsCopiedAndTheLearnerTold()
    {
        const QByteArray damaged = oldList({ "Ala", "Ola" }).left(29 + 2 + 917 + 50);
        QVERIFY(writeAll(sta(), damaged));
        {
            const ModalDismisser dismisser;
            TypingApp app(options());
            QCOMPARE(app.start(), 0);
            QCOMPARE(app.mainWindow()->classroom().roster().count(), 1);
            QTRY_COMPARE(m_stops.size(), 1);
            QVERIFY(m_stops[0].contains(QStringLiteral("pisarz.sta.bad")));
        }
        QCOMPARE(readAll(sta() + QStringLiteral(".bad")), damaged);
        QCOMPARE(namesIn(sta()), QStringList({ "Ala" }));
    }
};

QTEST_MAIN(TestSavingFiles)
#include "tst_savingfiles.moc"
