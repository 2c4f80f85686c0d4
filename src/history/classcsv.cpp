#include "history/classcsv.h"

#include <cmath>
#include <cstdio>

namespace {

std::string field(const std::string &text)
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

} // namespace

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
        out += field(row.name) + ';' + field(row.nextLesson) + ';' + std::to_string(row.finished) + ';'
            + field(row.lastPractice) + ';' + decimalComma(row.speed) + ';' + decimalComma(row.accuracy) + "\r\n";
    }
    return out;
}
