// The learning history with 5,000 lessons in it: what recording one more
// adds to the end of a lesson, and how long "Postępy" takes to open (the
// lessons read, the dialog built and painted once).

#include "benchstats.h"
#include "history/historystore.h"
#include "history/progressdlg.h"
#include "widgets/problemtext.h"

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QTemporaryDir>

namespace {

constexpr int kLessons = 5000;

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A lesson as a learner leaves it: about forty characters typed, a few of them wrong.
LessonRecord typicalLesson(int n)
{
    LessonRecord r;
    r.when = 1'700'000'000 + std::int64_t(n) * 3600;
    r.kind = n % 3 == 0 ? LessonKind::Words : LessonKind::Stored;
    r.number = 1201 + n % 26;
    r.suggested = n % 2 == 0;
    r.seconds = 180;
    r.keystrokes = 600;
    r.errors = 12;
    r.speed = 120.0F + float(n % 80);
    r.accuracy = 90.0F + float(n % 10);
    for (int c = 0; c < 40; ++c)
        r.chars.push_back({ static_cast<unsigned char>('a' + c % 26 + (c >= 26 ? 'A' - 'a' : 0)), 15, 1, 4000 });
    for (int c = 0; c < 6; ++c)
        r.confusions.push_back({ static_cast<unsigned char>('a' + c), static_cast<unsigned char>('b' + c), 2 });
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("palcomir.db"));
    {
        HistoryStore store(path);
        for (int n = 0; n < kLessons; ++n) {
            if (!store.record("ala", "Ala", typicalLesson(n))) {
                std::printf("the history cannot be written: %s\n", qPrintable(problemText(store.takeProblem())));
                return 1;
            }
        }
    }

    // Opened afresh as at the first lesson end of a run.
    HistoryStore store(path);
    auto start = std::chrono::steady_clock::now();
    store.lessons("bartek");
    const double firstUse = msSince(start);

    std::vector<double> recording;
    for (int n = 0; n < 100; ++n) {
        start = std::chrono::steady_clock::now();
        const bool written = store.record("ala", "Ala", typicalLesson(kLessons + n));
        recording.push_back(msSince(start));
        if (!written) {
            std::printf("a lesson was not recorded: %s\n", qPrintable(problemText(store.takeProblem())));
            return 1;
        }
    }

    std::vector<double> opening;
    for (int n = 0; n < 20; ++n) {
        start = std::chrono::steady_clock::now();
        const std::vector<LessonRecord> lessons = store.lessons("ala");
        ProgressDlg dialog(nullptr, QStringLiteral("Ala"), lessons, {}, 1201, 1227);
        dialog.grab();
        opening.push_back(msSince(start));
    }

    std::printf("history of %d lessons: first use (open, check, match the list) %.3f ms\n", kLessons, firstUse);
    bool met = report("recording one lesson", percentiles(recording), "ms", 20, 20);
    met = report("opening \"Postepy\" with 5,000 lessons", percentiles(opening), "ms", 200, 200) && met;
    return met ? 0 : 1;
}
