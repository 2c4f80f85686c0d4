#include "lessons/statusline.h"

#include "lessons/typingengine.h"

#include <charconv>

namespace {

std::string twoDigits(std::uint32_t value)
{
    std::string out(2, '0');
    out[0] = char('0' + value / 10 % 10);
    out[1] = char('0' + value % 10);
    return out;
}

// "%5.1f" without the C library's locale: a Polish locale would give a comma.
std::string speedText(float speed)
{
    char digits[64];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, double(speed), std::chars_format::fixed, 1);
    std::string out = ec == std::errc() ? std::string(digits, end) : std::string("0.0");
    if (out.size() < 5)
        out.insert(0, 5 - out.size(), ' ');
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
    text += "    " + speedText(typingSpeed(f.typedCount, f.typingTime)) + " znaków/min.";
    text += "    " + std::to_string(f.currentLine + 1) + " z " + std::to_string(f.lineCount) + " linii";
    return text;
}
