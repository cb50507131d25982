// BMP encoding of finished pictures: 32-bit true colour, or 8-bit with a median-cut palette.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette; // at most 256 entries
    std::vector<std::uint8_t> indices;                // width * height, top row first
};

// Picks at most `colours` colours for the picture by median cut and maps every pixel to one.
IndexedPicture Quantize(const Canvas& picture, int colours = 256);

// The BMP forms the game's pictures use, bottom-up with an info header of 40 bytes: 32-bit,
// or 8-bit, run-length coded (BI_RLE8) where that is smaller.
std::vector<std::uint8_t> EncodeBmp32(const Canvas& picture);
std::vector<std::uint8_t> EncodeBmp8(const IndexedPicture& picture);

// 0..1 to a byte, rounded, clamped.
std::uint8_t ToByte(float v);

} // namespace assetgen
