#pragma once

#include "students/tstudent.h"

#include <array>
#include <string>
#include <vector>

// What the statistics view shows: one row per measured character, a number
// and a bar for either its speed or its accuracy.

using TCharStats = std::array<TCharStat, kStatCharCount>;

enum class StatMode { Speed, Accuracy };

// The fastest speed the view takes at face value. A record read from a
// damaged file can hold anything; beyond this the number is not a typing
// speed, and truncating it to an integer scale would overflow.
inline constexpr float kMaxShownSpeed = 9999.9F;

// A stored result made fit for showing: NaN, infinite and negative values
// count as 0 (not measured), accuracy stops at 100 and speed at kMaxShownSpeed.
TCharStat shownStat(const TCharStat &stat);

struct StatRow {
    int slot; // into StatChars and the student's CharStats
    std::string name; // Windows-1250: "Enter", "Spacja" or the character
};

// The measured characters in StatChars order; a slot whose accuracy is 0 was
// never measured (or never typed right) and is left out.
std::vector<StatRow> statRows(const TCharStats &stats);

// The speed a full bar stands for: 100, or the fastest listed speed truncated
// to an integer when that is faster.
float statSpeedScale(const TCharStats &stats);

// How an accuracy reads, as shown with one decimal: good from 98 per cent,
// fair from 95, poor below; the bar takes its colour from it.
enum class AccuracyLevel { Good, Fair, Poor };
AccuracyLevel accuracyLevel(const TCharStat &stat);

// "%5.1f z/m" for speed, "%5.1f %" for accuracy.
std::string statValueText(const TCharStat &stat, StatMode mode);

// Cells of one row in pixels, edges as [left, right) and [top, bottom).
struct StatRowLayout {
    int top = 0;
    int bottom = 0;
    int nameLeft = 0;
    int nameRight = 0;
    int valueLeft = 0;
    int valueRight = 0;
    int barLeft = 0;
    int barArea = 0; // width a bar for the full scale takes
};

// The row rectangle shrunk by 1 on every side; a quarter of its width for the
// name (two fifths of it) and the value, the rest for the bar.
StatRowLayout statRowLayout(int left, int top, int right, int bottom);

// Bar length in pixels, from 0 to barArea: the speed against the scale or
// the accuracy against 100 per cent.
int statBarLength(const TCharStat &stat, StatMode mode, float speedScale, int barArea);
