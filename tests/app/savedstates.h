#pragma once

// The numbered versions of the student list and the settings that the save
// loop writes, so that a test can tell which version a file on disk is.

#include "settings/toptions.h"
#include "students/tstudentlist.h"

#include <string>

namespace savedstates {

// Version k: 1 to 40 students, the first named after k, results that change with k.
inline TStudentList list(int k)
{
    TStudentList students;
    const int count = 1 + k % 40;
    for (int i = 0; i < count; ++i) {
        // "Uczeń" in Windows-1250.
        TStudent student("Ucze\xF1 " + std::to_string(k) + "-" + std::to_string(i), 7 + (k + i) % 60, (k + i) % 2);
        for (std::size_t slot = 0; slot < student.CharStats.size(); ++slot) {
            student.CharStats[slot].Speed = float((k * 7 + int(slot) + i) % 400);
            student.CharStats[slot].Accuracy = float((k + int(slot)) % 101);
        }
        student.NextLesson = 1201 + (k + i) % 30;
        students.add(student);
    }
    return students;
}

// The version a list says it is: -1 for a list the save loop did not write.
inline int versionOf(const TStudentList &students)
{
    if (students.count() == 0)
        return -1;
    const std::string &name = students.at(0).Name;
    const std::string prefix = "Ucze\xF1 ";
    if (name.rfind(prefix, 0) != 0)
        return -1;
    try {
        return std::stoi(name.substr(prefix.size()));
    } catch (...) {
        return -1;
    }
}

// Version k of the settings: StudentNo names it, the other values follow from it.
inline TOptions options(int k)
{
    TOptions options;
    options.StudentNo = k;
    options.Type = k % 2;
    options.ErrorType = (k / 2) % 2;
    options.ShowAfaterStart = (k & 4) != 0;
    options.Click = (k & 8) != 0;
    options.ShowKeyb = (k & 16) != 0;
    options.ShowNext = (k & 32) != 0;
    options.ShowHands = (k & 64) != 0;
    return options;
}

inline bool sameOptions(const TOptions &a, const TOptions &b)
{
    return a.StudentNo == b.StudentNo && a.Type == b.Type && a.ErrorType == b.ErrorType
        && a.ShowAfaterStart == b.ShowAfaterStart && a.Click == b.Click && a.ShowKeyb == b.ShowKeyb
        && a.ShowNext == b.ShowNext && a.ShowHands == b.ShowHands;
}

} // namespace savedstates
