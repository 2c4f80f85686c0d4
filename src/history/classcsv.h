#pragma once

#include "history/lessonrecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// "Klasa": one line per student, and the same as a CSV file for a spreadsheet.

struct ClassRow {
    std::string name; // UTF-8
    std::string nextLesson; // UTF-8: the number and title, or that the course is done
    int finished = 0; // lessons recorded
    std::string lastPractice; // UTF-8 date, empty when never
    std::optional<double> speed; // the mean of the last five lessons
    std::optional<double> accuracy;
};

// A pupil as "Klasa" is told of them.
struct ClassPupil {
    std::string name; // UTF-8
    int nextLesson = 0;
    std::optional<std::string> nextTitle; // UTF-8, the library's title of nextLesson
    std::vector<LessonRecord> lessons; // in the order they finished
    bool gone = false; // results whose pupil is no longer on the list
    std::string className; // UTF-8, empty when the pupil's class is not known
    std::string id; // the pupil's identity in the history
};

// The rows of "Klasa": the next lesson, or "kurs ukończony" past the last
// one before lessonLimit; the lessons done, the day of the last (dateOf
// gives it), and the mean of the last five.
std::vector<ClassRow> classRows(
    const std::vector<ClassPupil> &pupils, int lessonLimit, const std::function<std::string(std::int64_t)> &dateOf);

// A number with one decimal and a decimal comma ("123,4"), as Polish
// spreadsheets read it; empty for nothing.
std::string decimalComma(const std::optional<double> &value);

// One field of a CSV file: a field holding a semicolon, a quote or a line
// break is quoted, its quotes doubled.
std::string csvField(const std::string &text);

// The CSV file: UTF-8 with a byte-order mark, a header row, fields (csvField)
// separated by semicolons, lines ended by CR LF.
std::string classCsv(const std::vector<ClassRow> &rows);
