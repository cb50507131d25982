#include "tools/assetgen/backdrop.h"

#include <cmath>

#include "tools/assetgen/noise.h"

namespace assetgen {

Canvas Backdrop(int size) {
    Canvas c = MakeCanvas(size, size);
    const Rgb deep = Hex(0x1F4650);
    const Rgb lit = Hex(0xA6DAD2);
    const float n = static_cast<float>(size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const float s = (static_cast<float>(px) + 0.5f) / n;
            const float t = (static_cast<float>(py) + 0.5f) / n;
            // Distance to the nearest tile corner, in tile units.
            const float dx = std::min(s, 1.0f - s), dy = std::min(t, 1.0f - t);
            const float glow = std::exp(-(dx * dx + dy * dy) / (2.0f * 0.22f * 0.22f));
            // Felt: cloudy density and fine fibres, both repeating with the tile.
            const float cloud = Fbm2(31, s * 8.0f, t * 8.0f, 4, 0.55f, 8);
            const float fibre = Fbm2(32, s * 128.0f, t * 128.0f, 2, 0.5f, 128);
            const float density = 1.0f + 0.10f * cloud + 0.10f * fibre;
            At(c, px, py) = Scale(Mix(deep, lit, glow * 0.85f), density);
        }
    }
    return c;
}

} // namespace assetgen
