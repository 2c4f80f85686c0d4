#include "history/classcsv.h"

#include "lessons/lessongroups.h"

#include <cmath>
#include <cstdio>

std::string csvField(const std::string &text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string decimalComma(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value))
        return {};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", *value);
    std::string text = buffer;
    for (char &c : text) {
        // snprintf follows the C locale's point, whatever the user's locale
        if (c == '.' || c == ',')
            c = ',';
    }
    return text;
}

std::string classCsv(const std::vector<ClassRow> &rows)
{
    std::string out = "\xEF\xBB\xBF";
    out += "Uczeń;Następna lekcja;Ukończone lekcje;Ostatnie ćwiczenie;Szybkość (znaki/min);Poprawność (%)\r\n";
    for (const ClassRow &row : rows) {
        out += csvField(row.name) + ';' + csvField(row.nextLesson) + ';' + std::to_string(row.finished) + ';'
            + csvField(row.lastPractice) + ';' + decimalComma(row.speed) + ';' + decimalComma(row.accuracy) + "\r\n";
    }
    return out;
}

std::vector<ClassRow> classRows(
    const std::vector<ClassPupil> &pupils, int lessonLimit, const std::function<std::string(std::int64_t)> &dateOf)
{
    std::vector<ClassRow> rows;
    for (const ClassPupil &pupil : pupils) {
        ClassRow row;
        row.name = pupil.name;
        if (pupil.gone) {
            row.nextLesson = "bez ucznia";
        } else if (pupil.nextLesson >= lessongroups::kFirstBasicLesson && pupil.nextLesson < lessonLimit) {
            LessonRecord course;
            course.number = pupil.nextLesson;
            row.nextLesson = lessonLabel(course, pupil.nextTitle);
        } else {
            row.nextLesson = "kurs ukończony";
        }
        row.finished = int(pupil.lessons.size());
        if (!pupil.lessons.empty())
            row.lastPractice = dateOf(pupil.lessons.back().when);
        if (const std::optional<Averages> last = averageOfLast(pupil.lessons, 5)) {
            row.speed = last->speed;
            row.accuracy = last->accuracy;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
