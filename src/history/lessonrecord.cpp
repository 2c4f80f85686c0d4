#include "history/lessonrecord.h"

#include "lessons/lessongroups.h"

#include <algorithm>
#include <cmath>
#include <map>

std::vector<CharTally> talliesOf(const TCharCounts &counts, const PlaceCounts &missedPlaces)
{
    std::vector<CharTally> out;
    for (int slot = 0; slot < kStatCharCount; ++slot) {
        const TCharCount &count = counts[std::size_t(slot)];
        if (count.Hits != 0 || count.Misses != 0)
            out.push_back({ StatChars[std::size_t(slot)], count.Hits, count.Misses, count.Time,
                missedPlaces[std::size_t(slot)] });
    }
    return out;
}

TCharCounts countsOf(const std::vector<CharTally> &tallies)
{
    TCharCounts counts {};
    for (const CharTally &t : tallies) {
        if (const int slot = statCharSlot(t.Char); slot >= 0)
            counts[std::size_t(slot)] = { t.Hits, t.Time, t.Misses };
    }
    return counts;
}

std::string lessonLabel(const LessonRecord &record, const std::optional<std::string> &title)
{
    switch (record.kind) {
    case LessonKind::Letters:
        return "Wybór liter: " + record.detail;
    case LessonKind::Words:
        return "Słowa: " + record.detail;
    case LessonKind::OwnText:
        return "Własny tekst: " + record.detail;
    case LessonKind::Keypad:
        return "Klawiatura numeryczna " + std::to_string(record.number);
    case LessonKind::Exam:
    case LessonKind::Stored:
        break;
    }
    std::string label = record.kind == LessonKind::Exam ? "Sprawdzian: " : "";
    label += std::to_string(record.number);
    if (title && !title->empty())
        label += ' ' + *title;
    return label;
}

std::vector<LessonRecord> bestOfCourse(const std::vector<LessonRecord> &records, int first, int limit)
{
    std::map<int, const LessonRecord *> best;
    for (const LessonRecord &r : records) {
        if (r.kind != LessonKind::Stored || r.number < first || r.number >= limit)
            continue;
        const LessonRecord *&held = best[r.number];
        if (!held || r.speed > held->speed || (r.speed == held->speed && r.accuracy > held->accuracy))
            held = &r;
    }
    std::vector<LessonRecord> out;
    for (const auto &[number, record] : best)
        out.push_back(*record);
    return out;
}

std::optional<Averages> averageOfLast(const std::vector<LessonRecord> &records, std::size_t count)
{
    const std::size_t n = std::min(count, records.size());
    if (n == 0)
        return std::nullopt;
    Averages a;
    for (auto it = records.end() - std::ptrdiff_t(n); it != records.end(); ++it) {
        a.speed += it->speed;
        a.accuracy += it->accuracy;
    }
    a.speed /= double(n);
    a.accuracy /= double(n);
    return a;
}

std::vector<unsigned char> confusedWith(const std::vector<TConfusion> &totals, unsigned char expected, std::size_t most)
{
    std::vector<TConfusion> mine;
    for (const TConfusion &c : totals) {
        if (c.Expected == expected && c.Count != 0)
            mine.push_back(c);
    }
    std::sort(mine.begin(), mine.end(), [](const TConfusion &a, const TConfusion &b) {
        return a.Count != b.Count ? a.Count > b.Count : a.Typed < b.Typed;
    });
    std::vector<unsigned char> out;
    for (const TConfusion &c : mine) {
        if (out.size() == most)
            break;
        out.push_back(c.Typed);
    }
    return out;
}

std::string charName(unsigned char c)
{
    if (c == chars::CarriageReturn)
        return "Enter";
    if (c == ' ')
        return "Spacja";
    return std::string(1, static_cast<char>(c));
}

std::array<std::string, kStatCharCount> confusionTexts(const std::vector<TConfusion> &totals)
{
    std::array<std::string, kStatCharCount> texts;
    for (int slot = 0; slot < kStatCharCount; ++slot) {
        std::string &text = texts[std::size_t(slot)];
        for (unsigned char typed : confusedWith(totals, StatChars[std::size_t(slot)], 3))
            text += (text.empty() ? "" : ", ") + charName(typed);
    }
    return texts;
}

bool isCourseLesson(const LessonRecord &record)
{
    return record.suggested
        || (record.kind == LessonKind::Stored && record.number >= lessongroups::kFirstBasicLesson
            && record.number < lessongroups::kFirstPracticalText);
}

AccuracyAxis accuracyAxis(const std::vector<LessonRecord> &records)
{
    if (records.empty())
        return {};
    double least = 100.0;
    double most = 0.0;
    for (const LessonRecord &r : records) {
        const double a = std::isfinite(r.accuracy) ? std::clamp(double(r.accuracy), 0.0, 100.0) : 0.0;
        least = std::min(least, a);
        most = std::max(most, a);
    }
    AccuracyAxis axis;
    axis.high = std::min(100, int(std::ceil(most)));
    const int low = int(std::floor(least));
    const int span = (std::max(10, axis.high - low) + 3) / 4 * 4;
    axis.low = axis.high - span;
    if (axis.low < 0) {
        axis.low = 0;
        axis.high = std::min(100, span);
    }
    return axis;
}
