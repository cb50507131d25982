// BMP pictures decoded into tightly packed 8-bit RGB, bottom row first.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace engine {

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb; // width * height * 3 bytes, rows bottom to top
};

inline constexpr std::int32_t kMaxPictureSide = 8192;
inline constexpr std::int64_t kMaxDecodablePixels = std::int64_t{kMaxPictureSide} * kMaxPictureSide;

// What a BMP header promises, once it has passed our checks.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
};

// Checks the header against what the decoder reads (uncompressed 1, 4, 8, 16, 24 and 32-bit
// pictures, bit fields at 16 and 32 bits, run-length 4 and 8-bit pictures stored bottom row
// first; sides 1..8192, palette and rows inside the file) before anything is allocated for
// the picture; nothing when the file can't be decoded.
std::optional<BmpLayout> CheckBmpHeader(std::span<const std::uint8_t> file);

// Decodes a whole BMP file held in memory; nothing when it is not a picture we read or has
// more than `maxPixels` pixels, which is found from the header before anything is decoded.
std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> file,
                                 std::int64_t maxPixels = kMaxDecodablePixels);

} // namespace engine
