#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The student list has no identity of its own: the history keeps a key for
// each student with the position and name last seen, and finds the key
// again when the list is loaded.
struct KnownStudent {
    std::int64_t key = 0;
    int position = -1; // -1: no longer on the list
    std::string name; // Windows-1250
};

// The key of each student of the list (names in list order), 0 for one the
// history does not know yet. A key is taken once, in this order: the same
// position and name; the same name elsewhere (students before it were
// removed, or it is back on the list); the same position under another name
// (renamed). Keys left over belong to students gone from the list.
std::vector<std::int64_t> matchStudentKeys(
    const std::vector<std::string> &names, const std::vector<KnownStudent> &known);
