// PNG encoding of the desktop icons: 8-bit RGBA, no interlace, the image data in stored
// (uncompressed) deflate blocks. Small icons need no compression, and the bytes depend on
// nothing but the pixels, so every build writes the same files.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

// A picture with coverage: `alpha` holds one opacity per pixel of `colour` (same order),
// and the colours are not premultiplied.
struct RgbaPicture {
    Canvas colour;
    std::vector<float> alpha;
};

std::vector<std::uint8_t> EncodePng(const RgbaPicture& picture);

// The checksums PNG and zlib use: CRC-32 (ISO 3309) and Adler-32.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

} // namespace assetgen
