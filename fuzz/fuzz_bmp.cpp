// Any bytes as a BMP picture: either refused, or a picture of the size its header promised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = platform::DecodeBmp(std::span<const std::uint8_t>(data, size));
    if (!picture) return 0;
    const auto layout = platform::CheckBmpHeader(std::span<const std::uint8_t>(data, size));
    if (!layout || layout->width != picture->width || layout->height != picture->height ||
        picture->rgb.size() != static_cast<std::size_t>(picture->width) * picture->height * 3)
        std::abort();
    return 0;
}
