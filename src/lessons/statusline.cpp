#include "lessons/statusline.h"

#include "lessons/numberformat.h"
#include "lessons/typingengine.h"

namespace {

std::string twoDigits(std::uint32_t value)
{
    std::string out(2, '0');
    out[0] = char('0' + value / 10 % 10);
    out[1] = char('0' + value % 10);
    return out;
}

} // namespace

std::string errorCountText(std::uint32_t errors)
{
    const char *word = "błędów";
    if (errors == 1)
        word = "błąd";
    else if (errors >= 2 && errors <= 4)
        word = "błędy";
    return "    " + std::to_string(errors) + ' ' + word;
}

std::string statusLineText(const StatusFigures &f)
{
    // A lesson of a day or more wraps its hours, like a clock.
    const std::uint32_t hours = f.seconds / 3600 % 24;
    std::string text
        = "Czas: " + twoDigits(hours) + ':' + twoDigits(f.seconds / 60 % 60) + ':' + twoDigits(f.seconds % 60);
    text += errorCountText(f.errors);
    // The first keys of a lesson give no speed worth showing ("6000.0" after one key).
    const bool enough = f.typedCount >= kFewestKeysForSpeed && f.typingTime >= kShortestTimeForSpeed;
    text += "    " + (enough ? formatFixed1(typingSpeed(f.typedCount, f.typingTime), 5) : std::string("    —"));
    text += " znaków/min.";
    text += "    " + std::to_string(f.currentLine + 1) + " z " + std::to_string(f.lineCount) + " linii";
    return text;
}
