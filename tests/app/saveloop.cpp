// Saves the student list and the settings through the program's own stores,
// version after version, until it is killed. The kill test starts it again
// and again; each start first reads back what the last run left.
//
//   saveloop DIR          print "loaded <list version> <settings version>",
//                         then save versions above both, without end
//   saveloop DIR COUNT    the same, but stop after COUNT versions

#include "app/savedstates.h"
#include "settings/settingsfile.h"
#include "students/studentstore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QDir>

int main(int argc, char *argv[])
{
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
