#include "app/sdidecframe.h"
#include "app/typingapp.h"
#include "common/testsupport.h"
#include "lessons/tlesson5.h"
#include "students/tstudentlist.h"
#include "widgets/messages.h"

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

namespace {

// What a file in the data folder is made into.
enum class Bad {
    ListCut, // the list cut short at a byte
    ListRandom,
    ListHuge, // 300 MB, sparse
    ListFolder,
    ListPipe,
    ListUnreadable,
    ListReadOnly,
    IniJunk,
    IniLines, // 10 MB of lines
    IniFolder,
    IniPipe,
};

// A current list of three students, as the program writes it.
QByteArray validList()
{
    TStudentList list;
    list.add(TStudent("Ala", 9, 0));
    list.add(TStudent(W("Łucja"), 10, 0));
    list.add(TStudent(W("Józek"), 11, 1));
    return bytes(list.serialize());
}

#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kLimitMs = 6000; // the sanitizers make every start several times slower
#else
constexpr qint64 kLimitMs = 2000;
#endif

struct Run {
    bool ended = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString said; // the standard error
    qint64 ms = 0; // until the message, or until the end when there is none
};

bool catchesSigterm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) & (quint64(1) << (SIGTERM - 1))) != 0;
    }
    return false;
}

// The program started on the folder, told to end as a logout would, once it
// has said what it was expected to say (or at once when it should say nothing).
Run runProgram(const QString &dir, const QString &expected)
{
    Run run;
    QProcess program;
    program.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    program.start(QString::fromLocal8Bit(qgetenv("PALCOMIR_EXECUTABLE")),
        { QStringLiteral("--library"), QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY")),
            QStringLiteral("--data-dir"), dir });
    if (!program.waitForStarted(kLimitMs))
        return run;
    while (!catchesSigterm(program.processId()) && clock.elapsed() < kLimitMs)
        QThread::msleep(5);
    while (!expected.isEmpty() && !run.said.contains(expected) && clock.elapsed() < kLimitMs) {
        program.waitForReadyRead(20);
        run.said += QString::fromLocal8Bit(program.readAllStandardError());
    }
    ::kill(pid_t(program.processId()), SIGTERM);
    run.ended = program.waitForFinished(int(std::max<qint64>(kLimitMs - clock.elapsed(), 0) + 3000));
    run.ms = clock.elapsed();
    if (!run.ended) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.said += QString::fromLocal8Bit(program.readAllStandardError());
    run.status = program.exitStatus();
    run.code = program.exitCode();
    if (!expected.isEmpty() && run.said.contains(expected))
        run.ms = std::min(run.ms, clock.elapsed());
    return run;
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT

    QStringList m_stops;

private slots:
    void init()
    {
        m_stops.clear();
        Messages::setHook([this](Messages::Kind kind, const QString &caption, const QString &text) {
            if (kind == Messages::Kind::Stop)
                m_stops << caption + QLatin1Char('|') + text;
            return false;
        });
    }
    void cleanup() { Messages::setHook({}); }

    void damagedDataFiles_data()
    {
        QTest::addColumn<Bad>("bad");
        QTest::addColumn<int>("cut");
        for (int cut = 0; cut < validList().size(); cut += 97)
            QTest::addRow("student list cut at byte %d", cut) << Bad::ListCut << cut;
        QTest::newRow("student list of random bytes") << Bad::ListRandom << 0;
        QTest::newRow("student list of 300 MB") << Bad::ListHuge << 0;
        QTest::newRow("folder for the student list") << Bad::ListFolder << 0;
        QTest::newRow("named pipe for the student list") << Bad::ListPipe << 0;
        QTest::newRow("student list it may not read") << Bad::ListUnreadable << 0;
        QTest::newRow("student list it may not write") << Bad::ListReadOnly << 0;
        QTest::newRow("settings of binary junk") << Bad::IniJunk << 0;
        QTest::newRow("settings of 10 MB of lines") << Bad::IniLines << 0;
        QTest::newRow("folder for the settings") << Bad::IniFolder << 0;
        QTest::newRow("named pipe for the settings") << Bad::IniPipe << 0;
    }

    // The program, started headless on a data folder with a damaged file,
    // says what is wrong (or quietly takes its defaults) within 2 seconds,
    // neither crashes nor hangs, and a list it could not read completely is
    // copied aside before anything replaces it.
    void damagedDataFiles()
    {
        QFETCH(Bad, bad);
        QFETCH(int, cut);
        const bool permissions = bad == Bad::ListUnreadable || bad == Bad::ListReadOnly;
        if (permissions && ::geteuid() == 0)
            QSKIP("running as root, where file permissions do not stop the program");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString sta = dir.filePath(QStringLiteral("pisarz.sta"));
        const QString ini = dir.filePath(QStringLiteral("pisarz.ini"));
        const QByteArray settings("[Stukomat]\nShowAfaterStart=No\n");
        QByteArray list = validList();
        QVERIFY(writeAll(ini, settings));
        QVERIFY(writeAll(sta, list));

        const QString unreadableList = QStringLiteral("Nie można odczytać listy uczniów z pliku %1.\n"
                                                      "Zmiany na liście uczniów nie zostaną zapisane.")
                                           .arg(sta);
        QString expected;
        QByteArray iniBefore = settings;
        switch (bad) {
        case Bad::ListCut:
        case Bad::ListRandom: {
            if (bad == Bad::ListCut) {
                list = list.left(cut);
            } else {
                list.resize(5000);
                QRandomGenerator(cut + 7).fillRange(reinterpret_cast<quint32 *>(list.data()), list.size() / 4);
            }
            QVERIFY(writeAll(sta, list));
            const TStudentList::ReadResult read = TStudentList::parse(list.toStdString());
            if (read.damaged())
                expected = QStringLiteral("Plik z listą uczniów %1 jest uszkodzony. Odczytano uczniów: %2.\n"
                                          "Kopię uszkodzonego pliku zapisano jako %1.bad.")
                               .arg(sta)
                               .arg(read.list.count());
            break;
        }
        case Bad::ListHuge:
            QVERIFY(QFile::resize(sta, qint64(300) * 1024 * 1024));
            expected = unreadableList;
            break;
        case Bad::ListFolder:
            QVERIFY(QFile::remove(sta) && QDir(dir.path()).mkdir(QStringLiteral("pisarz.sta")));
            expected = unreadableList;
            break;
        case Bad::ListPipe:
            QVERIFY(QFile::remove(sta) && ::mkfifo(QFile::encodeName(sta).constData(), 0600) == 0);
            expected = unreadableList;
            break;
        case Bad::ListUnreadable:
            QVERIFY(QFile::setPermissions(sta, QFileDevice::WriteOwner));
            expected = unreadableList;
            break;
        case Bad::ListReadOnly:
            QVERIFY(QFile::setPermissions(sta, QFileDevice::ReadOwner));
            break;
        case Bad::IniJunk:
            iniBefore.resize(3000);
            QRandomGenerator(5).fillRange(reinterpret_cast<quint32 *>(iniBefore.data()), iniBefore.size() / 4);
            QVERIFY(writeAll(ini, iniBefore));
            break;
        case Bad::IniLines:
            iniBefore = settings;
            while (iniBefore.size() < 10 * 1024 * 1024)
                iniBefore += "Klucz=wartosc\n";
            QVERIFY(writeAll(ini, iniBefore));
            break;
        case Bad::IniFolder:
            QVERIFY(QFile::remove(ini) && QDir(dir.path()).mkdir(QStringLiteral("pisarz.ini")));
            break;
        case Bad::IniPipe:
            QVERIFY(QFile::remove(ini) && ::mkfifo(QFile::encodeName(ini).constData(), 0600) == 0);
            break;
        }

        const Run run = runProgram(dir.path(), expected);
        QVERIFY2(run.ended, "the program hung");
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.ms <= kLimitMs, qPrintable(QStringLiteral("%1 ms").arg(run.ms)));
        if (expected.isEmpty())
            QVERIFY2(!run.said.contains(QStringLiteral("pisarz")), qPrintable(run.said));
        else
            QVERIFY2(run.said.contains(expected), qPrintable(run.said));

        const QFileInfo listNow(sta);
        switch (bad) {
        case Bad::ListCut:
        case Bad::ListRandom: {
            // What could be read is saved again, the damaged file kept beside it.
            const TStudentList::ReadResult read = TStudentList::parse(list.toStdString());
            QCOMPARE(readAll(sta), bytes(read.list.serialize()));
            if (read.damaged())
                QCOMPARE(readAll(sta + QStringLiteral(".bad")), list);
            else
                QVERIFY(!QFile::exists(sta + QStringLiteral(".bad")));
            break;
        }
        case Bad::ListHuge:
            QCOMPARE(listNow.size(), qint64(300) * 1024 * 1024);
            break;
        case Bad::ListFolder:
            QVERIFY(listNow.isDir());
            break;
        case Bad::ListPipe:
            QVERIFY(listNow.exists() && !listNow.isFile() && !listNow.isDir());
            break;
        case Bad::ListUnreadable:
        case Bad::ListReadOnly:
            QVERIFY(QFile::setPermissions(sta, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            QCOMPARE(readAll(sta), validList());
            break;
        case Bad::IniLines:
            QCOMPARE(readAll(ini), iniBefore); // not ours to rewrite
            break;
        case Bad::IniFolder:
            QVERIFY(QFileInfo(ini).isDir());
            break;
        case Bad::IniPipe:
            QVERIFY(QFileInfo(ini).exists() && !QFileInfo(ini).isFile());
            break;
        case Bad::IniJunk:
            break;
        }
        if (bad != Bad::ListCut && bad != Bad::ListRandom)
            QVERIFY(!QFile::exists(sta + QStringLiteral(".bad")));
        if (bad >= Bad::IniJunk)
            QCOMPARE(readAll(sta), validList());
    }

    void ownTextFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("starts");
        QTest::newRow("binary") << QStringLiteral("binary") << false;
        QTest::newRow("empty") << QStringLiteral("empty") << false;
        QTest::newRow("UTF-16 with its mark") << QStringLiteral("utf16") << true;
        QTest::newRow("100 MB") << QStringLiteral("huge") << true;
        QTest::newRow("/dev/zero") << QStringLiteral("zero") << false;
        QTest::newRow("named pipe") << QStringLiteral("pipe") << false;
    }

    // An own text chosen in the file dialog either becomes a lesson or is
    // refused with the program's message, within 2 seconds of choosing it.
    void ownTextFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, starts);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("tekst.txt"));
        const QString polish = QStringLiteral("Zażółć gęślą jaźń.");
        if (kind == QStringLiteral("binary")) {
            QVERIFY(writeAll(path, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01\x02", 19)));
        } else if (kind == QStringLiteral("empty")) {
            QVERIFY(writeAll(path, QByteArray()));
        } else if (kind == QStringLiteral("utf16")) {
            QByteArray utf16("\xFF\xFE");
            for (QChar c : polish + QStringLiteral("\r\n"))
                utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
            QVERIFY(writeAll(path, utf16));
        } else if (kind == QStringLiteral("huge")) {
            // 5 MB of text, more than is ever read, then a sparse rest.
            const QByteArray line = polish.toUtf8() + '\n';
            QByteArray text;
            while (text.size() < 5 * 1024 * 1024)
                text += line;
            QVERIFY(writeAll(path, text));
            QVERIFY(QFile::resize(path, qint64(100) * 1024 * 1024));
        } else if (kind == QStringLiteral("zero")) {
            path = QStringLiteral("/dev/zero");
        } else {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        }

        TypingApp app([&dir] {
            StartupOptions options;
            options.libraryFile = QString::fromLocal8Bit(qgetenv("PALCOMIR_LIBRARY"));
            options.dataDir = dir.filePath(QStringLiteral("dane"));
            return options;
        }());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dane")));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("dane/pisarz.ini")), "[Stukomat]\nShowAfaterStart=No\n"));
        QCOMPARE(app.start(), 0);
        SDIDecFrame *frame = app.mainWindow();

        QElapsedTimer chosen;
        QStringList refusals;
        QTimer chooser;
        connect(&chooser, &QTimer::timeout, frame, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                // The whole path typed in, which does not wait for the
                // dialog to have read the folder.
                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(path);
                chosen.start();
                static_cast<QDialog *>(dialog)->accept(); // as the Open button does
            } else if (auto *box = qobject_cast<QDialog *>(modal)) {
                refusals << box->windowTitle(); // the dialog's own complaint
                box->reject();
            }
        });
        chooser.start(10);
        frame->runCommand(SDIDecFrame::CmOwnTexts);
        const qint64 ms = chosen.isValid() ? chosen.elapsed() : -1;
        chooser.stop();
        QVERIFY2(ms >= 0, "the file dialog did not take the file");
        QVERIFY2(refusals.isEmpty(), qPrintable(refusals.join(QLatin1Char(','))));
        QVERIFY2(ms <= kLimitMs, qPrintable(QStringLiteral("%1 ms").arg(ms)));

        auto *lesson = qobject_cast<TLesson5 *>(frame->lesson());
        if (starts) {
            QVERIFY(m_stops.isEmpty());
            QVERIFY(lesson);
            QCOMPARE(bytes(lesson->engine().text().body).left(polish.size()), bytes(W(polish.toUtf8().constData())));
        } else {
            QVERIFY(!lesson);
            QCOMPARE(m_stops, QStringList { QStringLiteral("Wystąpił błąd|Niewłaściwy format pliku.") });
        }
    }
};

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
