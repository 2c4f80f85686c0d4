#pragma once

// A picture's pixel values read back from its rows, for tests and benchmarks.

#include "images/packeddib.h"

#include <vector>

// The values top row first, one per pixel, from the bottom-up rows of a 1-,
// 4- or 8-bit picture.
inline std::vector<std::uint8_t> dibPixels(const PackedDib &dib)
{
    const int width = dib.width();
    const int height = dib.height();
    const int bits = dib.bitsPerPixel();
    const std::span<const std::uint8_t> rows = dib.pixels();
    std::vector<std::uint8_t> pixels;
    pixels.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *row = rows.data() + std::size_t(height - 1 - y) * dib.stride();
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            pixels.push_back(std::uint8_t(row[bit / 8] >> (8 - bits - bit % 8) & ((1 << bits) - 1)));
        }
    }
    return pixels;
}
