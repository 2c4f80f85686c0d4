// Fifteen computers of a lab on one shared data folder, each registering
// pupils and finishing lessons of any pupil at once: how many pupils and
// lessons are lost or land under another pupil (target 0 and 0), and how
// long saving the list takes while the others save too.
#include "benchstats.h"
#include "common/classmates.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const ClassmatesOutcome out = runClassmates(CLASSMATE_EXECUTABLE, folder.path(), 15, 40, 2026);
    if (!out.failure.isEmpty())
        std::printf("a computer failed:\n%s", qPrintable(out.failure));
    std::printf("15 computers: %d pupils registered, %d lessons finished\n", out.pupils, out.lessons);
    const bool none = out.lostPupils + out.lostLessons + out.misattributed + out.wrongNextLesson == 0;
    std::printf("%-44s lost pupils %d, lost lessons %d, misattributed %d, wrong next lesson %d   target: 0   %s\n",
        "shared folder", out.lostPupils, out.lostLessons, out.misattributed, out.wrongNextLesson,
        none ? "MET" : "MISSED");
    const Percentiles saves = percentiles(out.saves);
    std::printf("%-44s median %8.3f ms   p99 %8.3f ms   (every computer saving again within 15 ms)\n",
        "saving the list, 15 computers at once", saves.median, saves.p99);
    return none && out.failure.isEmpty() ? 0 : 1;
}
