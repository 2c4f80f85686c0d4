#pragma once

#include "history/classcsv.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The report of "Klasa" → "Raport…" and of palcomir --report: one row per
// finished lesson between two days.

struct ReportRow {
    std::string pupil; // UTF-8; "Ala (bez ucznia)" for results whose pupil left the list
    std::string className; // UTF-8, empty when not known
    std::string when; // UTF-8 local date and time, "2026-03-02 10:15"
    std::string lesson; // as lessonLabel names it
    std::uint32_t seconds = 0;
    std::uint32_t keystrokes = 0;
    std::uint32_t errors = 0;
    double speed = 0.0; // keystrokes per minute
    double accuracy = 0.0; // per cent
};

// The days a report covers, both included, as YYYY-MM-DD of local time; an
// empty end leaves that side open.
struct ReportDays {
    std::string from;
    std::string to;
};

// What the report takes from outside.
struct ReportSources {
    std::function<std::string(std::int64_t)> localTime; // "YYYY-MM-DD HH:MM" of a moment (seconds since 1970, UTC)
    std::function<std::optional<std::string>(int)> title; // the library's title of a lesson number, UTF-8
    std::function<bool(const std::string &, const std::string &)> nameBefore; // the alphabet order of names
};

// The lessons finished within days (the day of localTime), pupil by pupil in
// nameBefore order (pupils of one name in the order given), each pupil's in
// the order they finished.
std::vector<ReportRow> reportRows(
    const std::vector<ClassPupil> &pupils, const ReportDays &days, const ReportSources &sources);

// The column names and a row's texts, as the CSV file and the printed table
// both show them: the duration in seconds, speed and accuracy as decimalComma.
std::vector<std::string> reportHeader();
std::vector<std::string> reportFields(const ReportRow &row);

// The CSV file, as classCsv writes one: UTF-8 with a byte-order mark, a
// header row, fields separated by semicolons, lines ended by CR LF.
std::string reportCsv(const std::vector<ReportRow> &rows);
