// Paints the box the platform layer draws itself into plain pixels, which the window then
// shows as they are: no GL, no fonts from the system. Pure: no SDL.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/box/font.h"
#include "platform/box/layout.h"

namespace platform {

struct BoxPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb; // 0xAARRGGBB, width * height, top row first
};

enum class ButtonState { Normal, Hover, Pressed };

BoxPixels PaintBox(const BoxFont& font, const BoxLayout& box, ButtonState button);

} // namespace platform
