#include "history/lessonreport.h"

#include <algorithm>

std::vector<ReportRow> reportRows(
    const std::vector<ClassPupil> &pupils, const ReportDays &days, const ReportSources &sources)
{
    std::vector<const ClassPupil *> order;
    for (const ClassPupil &pupil : pupils)
        order.push_back(&pupil);
    std::stable_sort(order.begin(), order.end(),
        [&](const ClassPupil *a, const ClassPupil *b) { return sources.nameBefore(a->name, b->name); });

    std::vector<ReportRow> rows;
    for (const ClassPupil *pupil : order) {
        std::vector<const LessonRecord *> lessons;
        for (const LessonRecord &lesson : pupil->lessons)
            lessons.push_back(&lesson);
        std::stable_sort(lessons.begin(), lessons.end(),
            [](const LessonRecord *a, const LessonRecord *b) { return a->when < b->when; });
        for (const LessonRecord *lesson : lessons) {
            std::string when = sources.localTime(lesson->when);
            // YYYY-MM-DD compares as text in calendar order.
            const std::string day = when.substr(0, 10);
            if ((!days.from.empty() && day < days.from) || (!days.to.empty() && day > days.to))
                continue;
            ReportRow row;
            row.pupil = pupil->gone ? pupil->name + " (bez ucznia)" : pupil->name;
            row.className = pupil->className;
            row.when = std::move(when);
            row.lesson = lessonLabel(*lesson,
                lesson->kind == LessonKind::Stored ? sources.title(lesson->number) : std::optional<std::string>());
            row.seconds = lesson->seconds;
            row.keystrokes = lesson->keystrokes;
            row.errors = lesson->errors;
            row.speed = lesson->speed;
            row.accuracy = lesson->accuracy;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<std::string> reportHeader()
{
    return { "Uczeń", "Klasa", "Data i godzina", "Lekcja", "Czas (s)", "Naciśnięcia", "Błędy", "Szybkość (znaki/min)",
        "Poprawność (%)" };
}

std::vector<std::string> reportFields(const ReportRow &row)
{
    return { row.pupil, row.className, row.when, row.lesson, std::to_string(row.seconds),
        std::to_string(row.keystrokes), std::to_string(row.errors), decimalComma(row.speed),
        decimalComma(row.accuracy) };
}

std::string reportCsv(const std::vector<ReportRow> &rows)
{
    std::string out = "\xEF\xBB\xBF";
    const auto line = [&out](const std::vector<std::string> &fields) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            out += (i ? ";" : "") + csvField(fields[i]);
        out += "\r\n";
    };
    line(reportHeader());
    for (const ReportRow &row : rows)
        line(reportFields(row));
    return out;
}
