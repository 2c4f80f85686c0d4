#include "images/stretch.h"

#include <algorithm>
#include <cstdint>

PictureSize stretchedSize(int pictureWidth, int pictureHeight, int width, int height)
{
    PictureSize size;
    if (width != 0) {
        size = { width, height };
    } else {
        size.width = static_cast<int>(std::int64_t(pictureWidth) * height / 100);
        size.height = static_cast<int>(std::int64_t(pictureHeight) * height / 100);
    }
    size.width = std::max(size.width, 0);
    size.height = std::max(size.height, 0);
    return size;
}

int stretchSource(int dest, int destSize, int sourceSize)
{
    if (destSize <= 0 || sourceSize <= 0)
        return 0;
    return static_cast<int>((2 * std::int64_t(dest) + 1) * sourceSize / (2 * std::int64_t(destSize)));
}

std::vector<int> stretchMap(int sourceSize, int destSize)
{
    std::vector<int> map(static_cast<std::size_t>(std::max(destSize, 0)));
    for (int d = 0; d < destSize; ++d)
        map[static_cast<std::size_t>(d)] = stretchSource(d, destSize, sourceSize);
    return map;
}
