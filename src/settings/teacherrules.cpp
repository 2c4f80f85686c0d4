#include "settings/teacherrules.h"

#include "settings/inifile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <utility>

namespace {

constexpr std::string_view kSection = "Nauczyciel";
// Longer than any list of the keys, or any hash --teacher-password writes.
constexpr std::size_t kValueBuffer = 512;

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

using Copy = std::function<void(TOptions &to, const TOptions &from)>;

const std::vector<std::pair<std::string_view, Copy>> &copiers()
{
    static const std::vector<std::pair<std::string_view, Copy>> table {
        { "ShowAfaterStart", [](TOptions &t, const TOptions &f) { t.ShowAfaterStart = f.ShowAfaterStart; } },
        { "ErrorType", [](TOptions &t, const TOptions &f) { t.ErrorType = f.ErrorType; } },
        { "ShowKeyb", [](TOptions &t, const TOptions &f) { t.ShowKeyb = f.ShowKeyb; } },
        { "ShowNext", [](TOptions &t, const TOptions &f) { t.ShowNext = f.ShowNext; } },
        { "Click", [](TOptions &t, const TOptions &f) { t.Click = f.Click; } },
        { "Type", [](TOptions &t, const TOptions &f) { t.Type = f.Type; } },
        { "Skala", [](TOptions &t, const TOptions &f) { t.Zoom = f.Zoom; } },
        { "PelnyEkran", [](TOptions &t, const TOptions &f) { t.FullScreen = f.FullScreen; } },
    };
    return table;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

bool TeacherRules::isLocked(std::string_view key) const
{
    return std::any_of(locked.begin(), locked.end(), [key](const std::string &k) { return sameName(k, key); });
}

const std::vector<std::string_view> &lockableKeys()
{
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> names;
        for (const auto &[name, copy] : copiers())
            names.push_back(name);
        return names;
    }();
    return keys;
}

TeacherRules loadTeacherRules(const std::vector<const IniFile *> &files)
{
    TeacherRules rules;
    const auto first = [&files](std::string_view key) -> std::optional<std::string> {
        for (const IniFile *file : files) {
            const std::string value = file->getString(kSection, key, "\x01", kValueBuffer);
            if (value != "\x01")
                return trimmed(value);
        }
        return std::nullopt;
    };
    if (const std::optional<std::string> list = first("Zablokowane")) {
        std::size_t start = 0;
        while (start <= list->size()) {
            std::size_t end = list->find(',', start);
            if (end == std::string::npos)
                end = list->size();
            const std::string name = trimmed(std::string_view(*list).substr(start, end - start));
            for (std::string_view known : lockableKeys()) {
                if (sameName(name, known) && !rules.isLocked(known))
                    rules.locked.emplace_back(known);
            }
            start = end + 1;
        }
    }
    if (const std::optional<std::string> accuracy = first("MinimalnaPoprawnosc")) {
        int value = 0;
        const bool number = std::from_chars(accuracy->data(), accuracy->data() + accuracy->size(), value).ec == std::errc();
        if (number && value >= 1 && value <= 100)
            rules.minimalAccuracy = value;
    }
    if (const std::optional<std::string> hash = first("Haslo"))
        rules.passwordHash = *hash;

    const auto number = [&files](std::string_view key, int fallback, int lowest, int highest) {
        for (const IniFile *file : files) {
            const std::string value = trimmed(file->getString("Sprawdzian", key, "", kValueBuffer));
            int n = 0;
            if (value.empty())
                continue;
            const bool read = std::from_chars(value.data(), value.data() + value.size(), n).ec == std::errc();
            return read && n >= lowest && n <= highest ? n : fallback;
        }
        return fallback;
    };
    ExamRules &exam = rules.exam;
    exam.text = number("Tekst", 0, 0, 99999);
    const int minutes = number("Czas", 5, 3, 10);
    exam.seconds = (minutes == 3 || minutes == 10 ? minutes : 5) * 60;
    exam.speed = number("Szybkosc", exam.speed, 1, 1000);
    exam.accuracy = number("Poprawnosc", exam.accuracy, 1, 100);
    exam.errorType = number("Bledy", exam.errorType, 0, 1);
    return rules;
}

TOptions withLocks(const TOptions &own, const TOptions &teacher, const TeacherRules &rules)
{
    TOptions options = own;
    for (const auto &[name, copy] : copiers()) {
        if (rules.isLocked(name))
            copy(options, teacher);
    }
    return options;
}

namespace {

double asShown(double value)
{
    return std::round(value * 10.0) / 10.0;
}

} // namespace

bool examPassed(double speed, double accuracy, const ExamRules &rules)
{
    return asShown(speed) >= rules.speed && asShown(accuracy) >= rules.accuracy;
}

bool meetsMinimalAccuracy(double shownAccuracy, const TeacherRules &rules)
{
    if (!rules.minimalAccuracy)
        return true;
    // Judged as shown, to one decimal.
    return asShown(shownAccuracy) >= *rules.minimalAccuracy;
}
