// One computer of a lab in class mode, as a process of its own: it does what
// its arguments say through the class's data owner, waiting after each step
// for the round with the class server, and tells on standard output:
//
//   pupil <id>           registered here
//   lesson <ms> <next>   a lesson recorded, from its end to the server's answer;
//                        the course goes on at next
//   listed <id> <next> <name>   a pupil of the list, after the last step
//   recorded <ms>        the server's own time over one lesson
//   away                 the server did not answer a round
//
// classpc FOLDER COMPUTER SERVER CLASS STEP...
//   register NAME | lessons NAME COUNT | list
#include "classroom/classroom.h"
#include "text/cp1250.h"

#include <chrono>
#include <cstdio>
#include <random>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

namespace {

bool waitForRound(Classroom &classroom)
{
    QEventLoop loop;
    bool done = false;
    const auto conn = QObject::connect(&classroom, &Classroom::synced, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(conn);
    return done;
}

int pupilNamed(const Classroom &classroom, const std::string &name)
{
    for (int i = 0; i < classroom.roster().count(); ++i) {
        if (classroom.roster().at(i).Name == name)
            return i;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString computer = QString::fromLocal8Bit(argv[2]);
    int studentNo = -1;
    Classroom classroom(QDir(folder).filePath(QStringLiteral("pisarz.sta")), folder, computer, studentNo);
    QObject::connect(&classroom, &Classroom::problem, [](const DataProblem &problem) {
        if (problem.code == DataProblem::Code::ServerAway)
            std::printf("away\n");
    });
    classroom.useClassServer({ argv[3], argv[4] });
    classroom.load();
    if (!waitForRound(classroom))
        return 3;
    std::mt19937 random(std::uint32_t(std::hash<std::string>()(computer.toStdString())));

    for (int a = 5; a < argc; ++a) {
        const std::string step = argv[a];
        if (step == "register" && a + 1 < argc) {
            TStudent pupil(cp1250::fromUtf8(argv[++a]), 0, 1);
            classroom.editableRoster().add(pupil);
            classroom.saveRoster();
            if (!waitForRound(classroom))
                return 3;
            std::printf("pupil %s\n", classroom.roster().at(pupilNamed(classroom, pupil.Name)).Id.c_str());
        } else if (step == "lessons" && a + 2 < argc) {
            const std::string name = cp1250::fromUtf8(argv[++a]);
            const int count = std::atoi(argv[++a]);
            for (int n = 0; n < count; ++n) {
                studentNo = pupilNamed(classroom, name);
                if (studentNo < 0)
                    return 4;
                TCharCounts counts {};
                counts[random() % kStatCharCount]
                    = { 11 + std::uint32_t(random() % 20), 3000, std::uint32_t(random() % 5) };
                LessonRecord record;
                record.when = std::time(nullptr);
                record.number = classroom.current()->NextLesson;
                record.detail = computer.toStdString() + ":" + std::to_string(n);
                record.chars = talliesOf(counts);
                const auto start = std::chrono::steady_clock::now();
                classroom.recordLesson(counts, record);
                if (!waitForRound(classroom))
                    return 3;
                for (const double ms : classroom.lastRecordTimes())
                    std::printf("recorded %.3f\n", ms);
                const int next = classroom.current()->NextLesson + 1;
                std::printf("lesson %.3f %d\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(), next);
                classroom.setNextLesson(next);
                if (!waitForRound(classroom))
                    return 3;
            }
        } else if (step == "list") {
            classroom.syncWithServer();
            if (!waitForRound(classroom))
                return 3;
            for (int i = 0; i < classroom.roster().count(); ++i) {
                const TStudent &p = classroom.roster().at(i);
                std::printf("listed %s %d %s\n", p.Id.c_str(), p.NextLesson, cp1250::toUtf8(p.Name).c_str());
            }
        } else {
            return 2;
        }
    }
    classroom.close();
    return 0;
}
