#include "widgets/zoomsteps.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace ZoomSteps {

int stepFor(int percent)
{
    if (percent < kSteps[0] || percent > std::end(kSteps)[-1])
        return 0;
    return *std::min_element(std::begin(kSteps), std::end(kSteps),
        [percent](int a, int b) { return std::abs(a - percent) < std::abs(b - percent); });
}

int nextStep(int percent)
{
    const auto *after = std::upper_bound(std::begin(kSteps), std::end(kSteps), percent);
    return after == std::end(kSteps) ? std::end(kSteps)[-1] : *after;
}

int previousStep(int percent)
{
    const auto *at = std::lower_bound(std::begin(kSteps), std::end(kSteps), percent);
    return at == std::begin(kSteps) ? kSteps[0] : at[-1];
}

int largestFitting(int width, int height)
{
    int largest = kSteps[0];
    for (int step : kSteps) {
        // In hundredths of a pixel, so no step is lost to rounding.
        if (kLayoutWidth * step <= width * 100 && kLayoutHeight * step <= height * 100)
            largest = step;
    }
    return largest;
}

int stepForScreen(int width, int height)
{
    return largestFitting(width, height * 3 / 4);
}

} // namespace ZoomSteps
