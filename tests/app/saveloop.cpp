// Saves the student list and the settings through the program's own stores,
// version after version, until it is killed. The kill test starts it again
// and again; each start first reads back what the last run left.
//
//   saveloop DIR          print "loaded <list version> <settings version>",
//                         then save versions above both, without end
//   saveloop DIR COUNT    the same, but stop after COUNT versions
//
// With --class it is one computer of a class instead, saving the list
// through the class's data owner (its lock, the merge with the list as it
// is now, the history beside it):
//
//   saveloop --class DIR [COUNT]
//                         print "loaded <name>...", then add pupils or remove
//                         them, each change told as "add <name>" or
//                         "remove <name>" before its save and "saved" after it

#include "app/savedstates.h"
#include "classroom/classroom.h"
#include "settings/settingsfile.h"
#include "students/studentstore.h"
#include "widgets/problemtext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QCoreApplication>
#include <QDir>

namespace {

void say(const std::string &line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int classLoop(const QDir &dir, long long count)
{
    int studentNo = -1;
    Classroom classroom(dir.filePath(QStringLiteral("pisarz.sta")), dir.path(), QStringLiteral("pc"), studentNo);
    bool told = false;
    QObject::connect(&classroom, &Classroom::problem, [&told](const DataProblem &problem) {
        std::fprintf(stderr, "%s\n", problemText(problem).toLocal8Bit().constData());
        told = true;
    });
    classroom.load();
    std::string loaded = "loaded";
    for (int i = 0; i < classroom.roster().count(); ++i)
        loaded += ' ' + classroom.roster().at(i).Name;
    say(loaded);

    const std::string run = std::to_string(QCoreApplication::applicationPid());
    for (long long n = 0; !told && (count < 0 || n < count); ++n) {
        TStudentList &roster = classroom.editableRoster();
        // Between a handful and a dozen pupils: the list stays small and
        // every kind of change keeps coming.
        if (roster.count() < 12 && (roster.count() < 4 || n % 3 != 0)) {
            const std::string name = "p" + run + "-" + std::to_string(n);
            say("add " + name);
            roster.add(TStudent(name, 0, int(n % 2)));
        } else {
            const int index = int(n % roster.count());
            say("remove " + roster.at(index).Name);
            roster.remove(index);
        }
        if (!classroom.saveRoster())
            return 1;
        say("saved");
    }
    return told ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && argv[1] == std::string("--class")) {
        QCoreApplication app(argc, argv);
        return classLoop(QDir(QString::fromLocal8Bit(argv[2])), argc > 3 ? std::atoll(argv[3]) : -1);
    }
    if (argc < 2)
        return 2;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const long long count = argc > 2 ? std::atoll(argv[2]) : -1;

    StudentStore store(dir.filePath(QStringLiteral("pisarz.sta")));
    const TStudentList loaded = store.load();
    const QString settings = dir.filePath(QStringLiteral("pisarz.ini"));
    const int listVersion = savedstates::versionOf(loaded);
    const int settingsVersion = SettingsFile::load(settings).StudentNo;
    const bool damaged
        = store.outcome() != TStudentList::ReadOutcome::Complete && store.outcome() != TStudentList::ReadOutcome::Empty;
    std::printf("loaded %d %d%s\n", listVersion, settingsVersion, damaged ? " damaged" : "");
    std::fflush(stdout);

    for (long long n = 0; count < 0 || n < count; ++n) {
        const int k = std::max(listVersion, settingsVersion) + 1 + int(n);
        if (!store.save(savedstates::list(k)) || !SettingsFile::save(settings, savedstates::options(k)))
            return 1;
    }
    return 0;
}
