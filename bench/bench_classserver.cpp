// A lab in class mode against a PostgreSQL of its own: 30 computers, each a
// process, finishing 10 lessons of their pupils at once (lessons lost, target
// 0; the server's time over each lesson, one transaction, target p99 at most
// 50 ms); then "Klasa" for 30 pupils with a year of lessons (200 each):
// the time to gather its rows from the server (target at most 200 ms).
#include "app/classreport.h"
#include "benchstats.h"
#include "classroom/classroom.h"
#include "common/pgserver.h"
#include "history/lessonreport.h"
#include "lessons/lessonlibrary.h"
#include "lessons/librarylocator.h"

#include <chrono>
#include <memory>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

constexpr int kComputers = 30;
constexpr int kLessons = 10;

double elapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PgServer pg;
    if (!pg.ok()) {
        std::printf("the class server could not start: %s\n", qPrintable(pg.failure));
        return 1;
    }

    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::vector<std::unique_ptr<QProcess>> computers;
    for (int pc = 0; pc < kComputers; ++pc) {
        folders.push_back(std::make_unique<QTemporaryDir>());
        auto process = std::make_unique<QProcess>();
        const QString pupil = QStringLiteral("Uczeń %1").arg(pc);
        process->start(QStringLiteral(CLASSPC_EXECUTABLE),
            { folders.back()->path(), QStringLiteral("pc%1").arg(pc), pg.connection(), QStringLiteral("3b"),
                QStringLiteral("register"), pupil, QStringLiteral("lessons"), pupil, QString::number(kLessons) });
        computers.push_back(std::move(process));
    }
    std::vector<double> recording;
    std::vector<double> firstOfConnection; // the server compiles and plans the statement
    std::vector<double> later;
    std::vector<double> rounds;
    int failed = 0;
    for (auto &process : computers) {
        if (!process->waitForFinished(600000) || process->exitCode() != 0)
            ++failed;
        bool firstOfThis = true;
        for (const QByteArray &line : process->readAllStandardOutput().split('\n')) {
            if (line.startsWith("recorded ")) {
                const double ms = line.split(' ').value(1).toDouble();
                recording.push_back(ms);
                (firstOfThis ? firstOfConnection : later).push_back(ms);
                firstOfThis = false;
            } else if (line.startsWith("lesson "))
                rounds.push_back(line.split(' ').value(1).toDouble());
        }
    }
    pg.psql(QStringLiteral("SELECT count(*) FROM palcomir.lessons"));
    const int stored = pg.output.section(u'\n', 2, 2).trimmed().toInt();
    const int lost = kComputers * kLessons - stored;
    std::printf(
        "%d computers, %d lessons each: %d on the server, %d computers failed\n", kComputers, kLessons, stored, failed);
    std::printf("%-44s %d   target: 0   %s\n", "lessons lost", lost, lost == 0 ? "MET" : "MISSED");
    const bool recordingMet = report("recording a lesson, 30 computers at once", percentiles(recording), "ms", 1e9, 50);
    report("  the first lesson on each connection", percentiles(firstOfConnection), "ms", 1e9, 1e9);
    report("  the lessons after it", percentiles(later), "ms", 1e9, 50);
    // The whole round a computer waits for, off the window's thread: its own
    // files, the lesson, the class read again; all 30 on this machine's cores.
    report("the whole round after a lesson (informative)", percentiles(rounds), "ms", 1e9, 1e9);

    // A year of a class: 30 pupils, 200 lessons each, put in straight on the server.
    pg.psql(QStringLiteral(
        "INSERT INTO palcomir.pupils (id, class, name, male, stats, base_stats)"
        " SELECT gen_random_uuid(), '4a', 'Uczeń ' || n, n % 2 = 0, array_fill(0::real, ARRAY[226]),"
        " array_fill(0::real, ARRAY[226]) FROM generate_series(1, 30) n;"
        "INSERT INTO palcomir.lessons (id, pupil, finished, kind, number, detail, suggested, seconds, keystrokes,"
        " errors, speed, accuracy, computer)"
        " SELECT gen_random_uuid(), p.id, 1757000000 + k * 86400, 0, 1201 + k % 40, '', true, 300, 600, 12,"
        " 100 + k % 50, 95, 'pc1' FROM palcomir.pupils p, generate_series(1, 200) k WHERE p.class = '4a'"));
    const LibraryLocator::Result found = LibraryLocator::load(QStringLiteral(PALCOMIR_LIBRARY_FILE));
    if (!found.library) {
        std::printf("no lesson library: %s\n", qPrintable(found.errorMessage));
        return 1;
    }
    std::vector<double> filling;
    std::size_t rows = 0;
    for (int run = 0; run < 10; ++run) {
        QTemporaryDir folder;
        int studentNo = -1;
        Classroom classroom(QDir(folder.path()).filePath(QStringLiteral("pisarz.sta")), folder.path(),
            QStringLiteral("nauczyciel"), studentNo);
        classroom.useClassServer({ pg.connection().toStdString(), "4a" });
        classroom.load();
        QSignalSpy synced(&classroom, &Classroom::synced);
        synced.wait(30000);
        const auto start = std::chrono::steady_clock::now();
        const std::vector<ClassPupil> pupils = ClassReport::pupils(classroom, *found.library);
        const auto table = classRows(pupils, 1241, [](std::int64_t) { return std::string("2026-01-01"); });
        filling.push_back(elapsedMs(start));
        rows = 0;
        for (const ClassPupil &p : pupils)
            rows += p.lessons.size();
        (void)table;
    }
    std::printf("\"Klasa\": %zu lessons of 30 pupils read\n", rows);
    const bool klasaMet = report("\"Klasa\" rows, 30 pupils x 200 lessons", percentiles(filling), "ms", 200, 1e9);
    return lost == 0 && failed == 0 && recordingMet && klasaMet && rows == 6000 ? 0 : 1;
}
