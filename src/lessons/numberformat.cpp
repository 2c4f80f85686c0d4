#include "lessons/numberformat.h"

#include <charconv>
#include <cmath>

std::string formatFixed1(double value, int width)
{
    char buffer[64];
    std::string text;
    if (!std::isfinite(value)) {
        text = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    } else {
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
        text.assign(buffer, result.ec == std::errc() ? result.ptr : buffer);
    }
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}
