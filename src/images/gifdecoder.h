#pragma once

#include "images/packeddib.h"

#include <cstdint>
#include <optional>
#include <span>

// Pictures wider than this are refused.
inline constexpr int kGifMaxWidth = 2049;

// Decodes the first image of a GIF file into a PackedDib with the 40-byte
// header and the file's global colour table: 1 bit per pixel for a 2-colour
// table, 4 bits for 4 to 16 colours, 8 bits for more. Nothing when the file
// is not a GIF, has no global colour table, ends before the image or is
// wider than kGifMaxWidth. Damaged or cut-short image data still gives the
// picture, with the rows decoded before the damage and colour 0 below.
//
// Keeps no state between calls: any thread may call it at any time.
std::optional<PackedDib> decodeGif(std::span<const std::uint8_t> file);
