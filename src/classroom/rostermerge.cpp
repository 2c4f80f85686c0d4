#include "classroom/rostermerge.h"

#include <algorithm>

MergedRoster mergeRosters(const TStudentList &file, const std::set<std::string> &fileRemoved, const TStudentList &mine,
    const LocalChanges &changes)
{
    MergedRoster out;
    out.removed = fileRemoved;
    std::map<std::string, const TStudent *> here;
    for (int i = 0; i < mine.count(); ++i)
        here[mine.at(i).Id] = &mine.at(i);
    for (const std::string &id : changes.base) {
        if (!here.count(id))
            out.removed.insert(id);
    }

    std::set<std::string> inFile;
    for (int i = 0; i < file.count(); ++i) {
        const TStudent &theirs = file.at(i);
        inFile.insert(theirs.Id);
        if (out.removed.count(theirs.Id))
            continue;
        TStudent merged = theirs;
        if (const auto it = here.find(theirs.Id); it != here.end()) {
            if (const auto lessons = changes.lessons.find(theirs.Id); lessons != changes.lessons.end()) {
                for (const TCharCounts &counts : lessons->second)
                    RecordCharCounts(merged, counts);
            }
            merged.NextLesson = std::max(theirs.NextLesson, it->second->NextLesson);
        }
        out.list.add(merged);
    }
    // Known to the file before but gone from it now: removed elsewhere.
    for (int i = 0; i < mine.count(); ++i) {
        const TStudent &student = mine.at(i);
        if (!inFile.count(student.Id) && !changes.base.count(student.Id) && !out.removed.count(student.Id))
            out.list.add(student);
    }
    return out;
}
