// Any bytes as a BMP picture, run-length and bit-field ones too: either refused, or a picture
// of the size its header promised, which a budget one pixel smaller refuses before decoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto picture = engine::DecodeBmp(file);
    if (!picture) return 0;
    const auto layout = engine::CheckBmpHeader(file);
    const std::int64_t pixels = std::int64_t{picture->width} * picture->height;
    if (!layout || layout->width != picture->width || layout->height != picture->height ||
        picture->rgb.size() != static_cast<std::size_t>(pixels) * 3)
        std::abort();
    if (engine::DecodeBmp(file, pixels - 1)) std::abort();
    if (engine::DecodeBmp(file, pixels)->rgb != picture->rgb) std::abort();
    return 0;
}
