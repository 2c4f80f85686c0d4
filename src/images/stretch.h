#pragma once

#include <vector>

struct PictureSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PictureSize &, const PictureSize &) = default;
};

// The rectangle a picture is stretched into. A requested width other than 0
// gives width x height; a width of 0 makes height a percentage of the
// picture's own size (integer arithmetic). A negative size draws nothing (0).
PictureSize stretchedSize(int pictureWidth, int pictureHeight, int width, int height);

// Which source row (or column) destination row dest takes when sourceSize
// lines are stretched to destSize: the one under the destination line's
// centre, so lines are repeated or dropped evenly and never blended.
int stretchSource(int dest, int destSize, int sourceSize);

// stretchSource for every destination line.
std::vector<int> stretchMap(int sourceSize, int destSize);
