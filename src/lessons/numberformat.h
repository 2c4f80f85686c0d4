#pragma once

#include <string>

// "%*.1f" with a point as the decimal separator whatever the locale: numbers
// shown to the learner always look like "97.5".
std::string formatFixed1(double value, int width);
