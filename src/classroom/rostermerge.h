#pragma once

#include "students/tstudentlist.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// What this computer did to the list since it last read the file.
struct LocalChanges {
    std::set<std::string> base; // the pupils of the file as last read or written
    // Each pupil's lessons finished here since then, in the order they finished.
    std::map<std::string, std::vector<TCharCounts>> lessons;
};

struct MergedRoster {
    TStudentList list;
    std::set<std::string> removed;
};

// The list to write when `file` (with the pupils it says were removed) is
// what the folder holds now and `mine` is this computer's list: pupils added
// elsewhere are kept, and so are removals made anywhere; pupils added here
// are appended in their order. A pupil both lists hold gets the file's
// results with this computer's lessons applied again, lesson by lesson, and
// the furthest next lesson of the two. The file's order stays.
MergedRoster mergeRosters(const TStudentList &file, const std::set<std::string> &fileRemoved, const TStudentList &mine,
    const LocalChanges &changes);
