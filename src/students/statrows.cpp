#include "students/statrows.h"

#include "lessons/numberformat.h"

#include <algorithm>
#include <cmath>

TCharStat shownStat(const TCharStat &stat)
{
    const auto clamp = [](float value, float top) {
        if (!std::isfinite(value) || value < 0.0F)
            return 0.0F;
        return std::min(value, top);
    };
    return { clamp(stat.Speed, kMaxShownSpeed), clamp(stat.Accuracy, 100.0F) };
}

std::vector<StatRow> statRows(const TCharStats &stats)
{
    std::vector<StatRow> rows;
    for (int slot = 0; slot < kStatCharCount; ++slot) {
        if (shownStat(stats[slot]).Accuracy == 0.0F)
            continue;
        const unsigned char c = StatChars[slot];
        std::string name;
        if (c == chars::CarriageReturn)
            name = "Enter";
        else if (c == ' ')
            name = "Spacja";
        else
            name.assign(1, static_cast<char>(c));
        rows.push_back({ slot, std::move(name) });
    }
    return rows;
}

float statSpeedScale(const TCharStats &stats)
{
    int max = 100;
    for (const StatRow &row : statRows(stats)) {
        const float speed = shownStat(stats[row.slot]).Speed;
        if (static_cast<float>(max) < speed)
            max = static_cast<int>(speed);
    }
    return static_cast<float>(max);
}

std::string statValueText(const TCharStat &stat, StatMode mode)
{
    const TCharStat shown = shownStat(stat);
    if (mode == StatMode::Speed)
        return formatFixed1(shown.Speed, 5) + " z/m";
    return formatFixed1(shown.Accuracy, 5) + " %";
}

StatRowLayout statRowLayout(int left, int top, int right, int bottom)
{
    StatRowLayout layout;
    left += 1;
    top += 1;
    right -= 1;
    bottom -= 1;
    const int w = std::max(right - left, 0);
    const int q = w / 4;
    layout.top = top;
    layout.bottom = std::max(bottom, top);
    layout.nameLeft = left;
    layout.nameRight = left + (2 * q) / 5;
    layout.valueLeft = layout.nameRight;
    layout.valueRight = std::max(left + q - 2, layout.valueLeft);
    layout.barLeft = left + q;
    layout.barArea = w - q;
    return layout;
}

int statBarLength(const TCharStat &stat, StatMode mode, float speedScale, int barArea)
{
    if (barArea <= 0)
        return 0;
    const TCharStat shown = shownStat(stat);
    const double b = barArea;
    double length = 0.0;
    if (mode == StatMode::Accuracy)
        length = std::floor(b * double(shown.Accuracy) / 100.0);
    else if (speedScale > 0.0F)
        length = std::floor(b * double(shown.Speed) / double(speedScale));
    // The scale is the fastest speed truncated, so the fastest bar could run a
    // little past the area; it stops at the area's end instead.
    return static_cast<int>(std::clamp(length, 0.0, double(barArea)));
}

AccuracyLevel accuracyLevel(const TCharStat &stat)
{
    // Judged as the number beside the bar reads: 97.96 shows as 98.0.
    const double shown = std::round(double(shownStat(stat).Accuracy) * 10.0) / 10.0;
    if (shown >= 98.0)
        return AccuracyLevel::Good;
    if (shown >= 95.0)
        return AccuracyLevel::Fair;
    return AccuracyLevel::Poor;
}
