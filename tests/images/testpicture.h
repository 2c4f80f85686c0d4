#pragma once

// The picture compiled into the picture tests as resource GIF 9001, written
// at build time by make_test_gif, so the lookup by number is tried on a real
// resource whichever of the program's own pictures exist.

#include "common/gifencoder.h"

constexpr int kTestPictureNumber = 9001;

inline std::vector<std::uint8_t> testPictureGif()
{
    GifOptions options;
    options.colours = { { 255, 0, 0 }, { 0, 255, 0 }, { 0, 0, 255 }, { 255, 255, 255 } };
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            pixels.push_back(std::uint8_t((x / 3 + y) % 4));
    return encodeGif(9, 6, pixels, options);
}
