// One computer of a class sharing a data folder: registers pupils and
// finishes lessons of any pupil, at random, through the class's data owner,
// and tells on standard output what it did:
//
//   pupil <id>                 registered here
//   lesson <id> <tag> <next>   a lesson finished here; the course goes on at next
//   save <ms>                  how long saving the list took
//
// classmate FOLDER COMPUTER SEED STEPS
#include "classroom/classroom.h"
#include "widgets/problemtext.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QUuid>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString computer = QString::fromLocal8Bit(argv[2]);
    std::mt19937 random(std::uint32_t(std::stoul(argv[3])));
    const int steps = std::atoi(argv[4]);

    int studentNo = -1;
    Classroom classroom(QDir(folder).filePath(QStringLiteral("pisarz.sta")), folder, computer, studentNo);
    QObject::connect(&classroom, &Classroom::problem, [](const DataProblem &problem) {
        std::fprintf(stderr, "%s\n", problemText(problem).toLocal8Bit().constData());
    });
    classroom.load();
    const auto timedSave = [&classroom](auto &&change) {
        const auto start = std::chrono::steady_clock::now();
        change();
        std::printf(
            "save %.3f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    };

    int lessons = 0;
    for (int step = 0; step < steps; ++step) {
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 15));
        // Every computer registers a pupil first, whatever the others did by
        // then, so that the run is the same for every order the computers take.
        if (step == 0 || random() % 4 == 0) {
            TStudent pupil(computer.toStdString() + "-" + std::to_string(step), 0, int(random() % 2));
            pupil.Id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
            classroom.editableRoster().add(pupil);
            timedSave([&] { classroom.saveRoster(); });
            std::printf("pupil %s\n", pupil.Id.c_str());
            continue;
        }
        studentNo = int(random() % unsigned(classroom.roster().count()));
        const std::string id = classroom.current()->Id;
        const int next = classroom.current()->NextLesson + 1;
        TCharCounts counts {};
        counts[random() % kStatCharCount] = { 11 + std::uint32_t(random() % 20), 3000, std::uint32_t(random() % 5) };
        LessonRecord record;
        record.when = std::time(nullptr);
        record.number = next - 1;
        record.detail = computer.toStdString() + ":" + std::to_string(++lessons);
        timedSave([&] {
            classroom.recordLesson(counts, record);
            classroom.setNextLesson(next);
        });
        std::printf("lesson %s %s %d\n", id.c_str(), record.detail.c_str(), next);
    }
    classroom.close();
    return 0;
}
