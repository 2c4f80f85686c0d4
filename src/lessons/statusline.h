#pragma once

#include <cstdint>
#include <string>

// What the status bar shows while a lesson runs.
struct StatusFigures {
    std::uint32_t seconds = 0; // running lesson time
    std::uint32_t errors = 0; // wrong keystrokes
    std::uint32_t typedCount = 0; // counted keystrokes
    float typingTime = 0.0F; // ms, sum of the counted keystroke intervals
    int currentLine = 0; // from 0
    int lineCount = 0;
};

// "    1 błąd", "    3 błędy", "    7 błędów" (UTF-8).
std::string errorCountText(std::uint32_t errors);

// The speed is shown from this many keystrokes and this much typing time
// (ms) on; before that a dash stands in its place.
constexpr std::uint32_t kFewestKeysForSpeed = 5;
constexpr float kShortestTimeForSpeed = 2000.0F;

// The whole status text (UTF-8), e.g.
// "Czas: 00:01:05    3 błędy    123.0 znaków/min.    2 z 5 linii".
// Numbers always use a point, whatever the locale.
std::string statusLineText(const StatusFigures &figures);
