#pragma once

#include "lessons/lessonkind.h"
#include "lessons/typingengine.h"
#include "text/statchars.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the learning history keeps of one finished lesson.

// One character's keystrokes in one lesson (or summed over many).
struct CharTally {
    unsigned char Char = 0; // Windows-1250
    std::uint32_t Hits = 0;
    std::uint32_t Misses = 0;
    std::uint32_t Time = 0; // ms
    std::uint32_t MissedPlaces = 0; // places with a wrong key, each counted once
};

struct LessonRecord {
    std::int64_t when = 0; // seconds since 1970 (UTC) when it finished
    LessonKind kind = LessonKind::Stored;
    int number = 0; // the library's number; 0 for exercises and own texts
    std::string detail; // UTF-8: the exercise's letters or the own text's file name
    bool suggested = false; // started by "Sugerowana"
    std::uint32_t seconds = 0; // the lesson's duration
    std::uint32_t keystrokes = 0;
    std::uint32_t errors = 0;
    float speed = 0.0F; // keystrokes per minute, as the verdict said
    float accuracy = 0.0F; // per cent, as the verdict said
    std::vector<CharTally> chars; // only the characters typed
    std::vector<TConfusion> confusions;
    std::string uuid; // the lesson's own identity on the class server; empty outside class mode
};

// The characters a lesson's counters hold, in StatChars order.
std::vector<CharTally> talliesOf(const TCharCounts &counts, const PlaceCounts &missedPlaces = {});
// And back: the counters of the characters a lesson's tallies hold.
TCharCounts countsOf(const std::vector<CharTally> &tallies);

// How the history names a lesson (UTF-8): "1203 Litery f i j" with the
// library's title, "Wybór liter: abc", "Słowa: abc", "Klawiatura numeryczna
// 1402" or "Własny tekst: list.txt".
std::string lessonLabel(const LessonRecord &record, const std::optional<std::string> &title);

// The best result of each lesson of the course that is numbered from first
// to one before limit: the fastest, of equal speeds the most accurate, of
// equal ones the earliest. In lesson order.
std::vector<LessonRecord> bestOfCourse(const std::vector<LessonRecord> &records, int first, int limit);

// The mean speed and accuracy of the last count records (the records in
// time order); nothing when there are none.
struct Averages {
    double speed = 0.0;
    double accuracy = 0.0;
};
std::optional<Averages> averageOfLast(const std::vector<LessonRecord> &records, std::size_t count);

// Whether a lesson was one of the course of basic lessons, however started.
bool isCourseLesson(const LessonRecord &record);

// The accuracy scale of the progress chart, in whole per cent: from just
// below the least accurate lesson to just above the most accurate one, at
// least 10 points wide and a multiple of 4 (four steps of whole numbers),
// within 0 to 100. 0 to 100 when there are no lessons.
struct AccuracyAxis {
    int low = 0;
    int high = 100;
};
AccuracyAxis accuracyAxis(const std::vector<LessonRecord> &records);

// A character as the statistics view names it (Windows-1250): "Spacja",
// "Enter" or the character itself.
std::string charName(unsigned char c);

// The most frequent characters typed in place of `expected`, up to `most`,
// commonest first (of equal counts the lower byte first).
std::vector<unsigned char> confusedWith(
    const std::vector<TConfusion> &totals, unsigned char expected, std::size_t most);

// For each StatChars slot, the three characters most often typed in its
// place, named as the statistics view names them: "a, Spacja".
std::array<std::string, kStatCharCount> confusionTexts(const std::vector<TConfusion> &totals);
