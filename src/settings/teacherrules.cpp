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
    // A key's value in the first file that has it.
    const auto first = [&files](std::string_view section, std::string_view key) -> std::optional<std::string> {
        for (const IniFile *file : files) {
            const std::string value = file->getString(section, key, "\x01", kValueBuffer);
            if (value != "\x01")
                return trimmed(value);
        }
        return std::nullopt;
    };
    // A whole number within lowest..highest, or nothing.
    const auto number = [&first](std::string_view section, std::string_view key, int lowest,
                            int highest) -> std::optional<int> {
        const std::optional<std::string> text = first(section, key);
        int value = 0;
        if (!text || std::from_chars(text->data(), text->data() + text->size(), value).ec != std::errc()
            || value < lowest || value > highest)
            return std::nullopt;
        return value;
    };

    TeacherRules rules;
    if (const std::optional<std::string> list = first(kSection, "Zablokowane")) {
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
    rules.minimalAccuracy = number(kSection, "MinimalnaPoprawnosc", 1, 100);
    if (const std::optional<std::string> hash = first(kSection, "Haslo"))
        rules.passwordHash = *hash;

    ExamRules &exam = rules.exam;
    exam.text = number("Sprawdzian", "Tekst", 0, 99999).value_or(exam.text);
    const int minutes = number("Sprawdzian", "Czas", 3, 10).value_or(5);
    exam.seconds = (minutes == 3 || minutes == 10 ? minutes : 5) * 60;
    exam.speed = number("Sprawdzian", "Szybkosc", 1, 1000).value_or(exam.speed);
    exam.accuracy = number("Sprawdzian", "Poprawnosc", 1, 100).value_or(exam.accuracy);
    exam.errorType = number("Sprawdzian", "Bledy", 0, 1).value_or(exam.errorType);
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
