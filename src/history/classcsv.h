#pragma once

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

// A number with one decimal and a decimal comma ("123,4"), as Polish
// spreadsheets read it; empty for nothing.
std::string decimalComma(const std::optional<double> &value);

// The CSV file: UTF-8 with a byte-order mark, a header row, fields separated
// by semicolons, lines ended by CR LF. A field holding a semicolon, a quote or
// a line break is quoted, its quotes doubled.
std::string classCsv(const std::vector<ClassRow> &rows);
