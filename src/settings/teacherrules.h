#pragma once

#include "settings/toptions.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile;

// What a teacher fixes in the system's pisarz.ini, section [Nauczyciel]:
//   Zablokowane=ErrorType,Click     keys every account takes from the teacher
//   MinimalnaPoprawnosc=95          the accuracy the course asks before it goes on
//   Haslo=...                       the teacher's password, as --teacher-password writes it
// "Sprawdzian", section [Sprawdzian]: Tekst (a practical text's number; 0
// the first one), Czas (3, 5 or 10 minutes), Szybkosc (characters a minute)
// and Poprawnosc (per cent) to pass, Bledy (0 wait for the right key, 1 go on).
struct ExamRules {
    int text = 0;
    int seconds = 5 * 60;
    int speed = 120;
    int accuracy = 95;
    int errorType = 1;
};

struct TeacherRules {
    std::vector<std::string> locked; // key names as pisarz.ini spells them
    std::optional<int> minimalAccuracy; // per cent, 1..100
    std::string passwordHash;
    ExamRules exam;

    bool isLocked(std::string_view key) const;
};

// The keys that may be locked, as pisarz.ini names them.
const std::vector<std::string_view> &lockableKeys();

// The rules of the teachers' files, the most important first; each key comes
// from the first file that has it. Unknown names in Zablokowane are left out,
// the others are matched in any case and written as pisarz.ini spells them.
TeacherRules loadTeacherRules(const std::vector<const IniFile *> &files);

// The options with every locked key taken from the teacher's.
TOptions withLocks(const TOptions &own, const TOptions &teacher, const TeacherRules &rules);

// Whether an exam with these results, as shown (to one decimal), passes.
bool examPassed(double speed, double accuracy, const ExamRules &rules);

// Whether a lesson at this accuracy (as the learner was shown it) lets the
// course go on; always without MinimalnaPoprawnosc.
bool meetsMinimalAccuracy(double shownAccuracy, const TeacherRules &rules);
