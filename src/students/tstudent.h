#pragma once

#include "lessons/lessongroups.h"
#include "text/statchars.h"

#include <array>
#include <cstdint>
#include <string>

// One stored result per StatChars slot; 0.0 in both means not measured yet.
struct TCharStat {
    float Speed = 0.0F; // keystrokes per minute on this character
    float Accuracy = 0.0F; // per cent of correct keystrokes on it
};

// One registered learner.
struct TStudent {
    std::string Name; // Windows-1250
    std::int32_t Age = 0;
    std::int32_t Male = 1; // 1 man, 0 woman
    std::array<TCharStat, kStatCharCount> CharStats {};
    std::int32_t NextLesson = lessongroups::kFirstBasicLesson; // the suggested lesson
    // Who this pupil is for the history and for other computers sharing the
    // list; kept beside the list file, not in it. Empty until the list is saved.
    std::string Id;

    TStudent() = default;
    TStudent(std::string name, std::int32_t age, std::int32_t male)
        : Name(std::move(name))
        , Age(age)
        , Male(male)
    { }
};

// Merges one lesson's counters into a student's results: a slot is replaced
// (never averaged) when it had more than 10 hits, or when it was never
// measured and had at least one hit.
void RecordCharCounts(TStudent &student, const TCharCounts &counts);
