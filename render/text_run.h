// Text over the finished frame: glyphs of a font atlas laid on window pixels, each in its own
// colour. The game lays them out; the renderer draws what it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace render {

// One glyph: a cell of the atlas (texture coordinates, t down from its top row) over a
// rectangle of window pixels (y up).
struct TextQuad {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float s1 = 0, t1 = 0, s2 = 0, t2 = 0;
    std::array<float, 3> colour{1.0f, 1.0f, 1.0f};
};

// Enough for the longest status line the game shows; kept in the frame, not allocated.
inline constexpr std::size_t kMaxTextQuads = 96;

struct TextRun {
    std::int32_t texture = -1; // the atlas's texture slot; -1 draws nothing
    std::size_t count = 0;     // quads[0 .. count) are drawn
    std::array<TextQuad, kMaxTextQuads> quads{};
};

} // namespace render
