#include "tools/assetgen/app_icon.h"

#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/ui.h"
#include "tools/assetgen/wood.h"

namespace assetgen {

namespace {

// Every icon is drawn at this size and scaled down, which anti-aliases the small ones well.
constexpr int kDrawSize = 1024;

struct Look {
    float plateInset;  // light plate inside the walnut frame, as a share of the side
    float pieceRadius; // as a share of the grid's pitch
    float lineHalfWidth;
    float hollowRadius;
};

// Premultiplied colour (every shape is laid over black) and its coverage, both drawn at
// kDrawSize so that they scale down together.
struct Drawing {
    Canvas colour = MakeCanvas(kDrawSize, kDrawSize);
    Canvas cover = MakeCanvas(kDrawSize, kDrawSize);
};

Drawing Draw(const Look& look) {
    Drawing d;
    const float s = static_cast<float>(kDrawSize);
    const float margin = 0.05f * s, radius = 0.19f * s;
    const auto tile = [&](float x, float y) {
        return BoxDistance(x, y, margin, margin, s - margin, s - margin, radius);
    };
    Fill(d.cover, 0, 0, s, s, tile, Hex(0xFFFFFF));
    // The walnut frame, lit from the upper left like the pieces.
    Paint(d.colour, 0, 0, s, s, tile, [&](float x, float y) {
        const float light = 1.15f - 0.35f * (x + y) / (2.0f * s);
        return Scale(Walnut(23, y / (0.045f * s), x / (0.045f * s)), light);
    });
    // A light inlaid line inside the frame's edge.
    const float inlay = 0.035f * s;
    Fill(
        d.colour, 0, 0, s, s,
        [&](float x, float y) {
            return std::abs(BoxDistance(x, y, margin + inlay, margin + inlay, s - margin - inlay,
                                        s - margin - inlay, radius - inlay)) -
                   0.006f * s;
        },
        Hex(0xE9C48E), 0.85f);

    const float p0 = look.plateInset * s, p1 = s - p0, plateRadius = 0.09f * s;
    Fill(
        d.colour, p0, p0, p1, p1 + 0.02f * s,
        [&](float x, float y) {
            return BoxDistance(x, y, p0, p0 + 0.015f * s, p1, p1 + 0.015f * s, plateRadius);
        },
        Hex(0x000000), 0.55f, 0.02f * s);
    Paint(
        d.colour, p0, p0, p1, p1,
        [&](float x, float y) { return BoxDistance(x, y, p0, p0, p1, p1, plateRadius); },
        [&](float x, float y) {
            const float t = (x + y - 2.0f * p0) / (2.0f * (p1 - p0));
            return Scale(Mix(Hex(0xF2C58A), Hex(0xC98A4C), t),
                         1.0f + 0.05f * Noise2(5, x * 8.0f / s, y * 60.0f / s));
        });

    // Four by four hollows; the pieces stand on the corners of a tilted square.
    const float pitch = (p1 - p0) / 4.0f;
    GridSquare grid;
    grid.first = {p0 + 0.5f * pitch, p0 + 0.5f * pitch};
    grid.stepX = grid.stepY = pitch;
    grid.side = 4;
    grid.hollowRadius = look.hollowRadius * pitch;
    grid.hollow = Hex(0x7A4A26);
    grid.lineHalfWidth = look.lineHalfWidth * pitch;
    grid.pieceRadius = look.pieceRadius * pitch;
    grid.light = false;
    const int corners[4][2] = {{1, 0}, {3, 1}, {2, 3}, {0, 2}};
    DrawGridSquare(d.colour, grid, corners);
    return d;
}

RgbaPicture Finish(const Drawing& d, int size) {
    const Canvas colour = Resample(d.colour, size, size);
    const Canvas cover = Resample(d.cover, size, size);
    RgbaPicture out{MakeCanvas(size, size), {}};
    out.alpha.resize(colour.pixels.size());
    for (std::size_t i = 0; i < colour.pixels.size(); ++i) {
        const float a = std::clamp(cover.pixels[i].r, 0.0f, 1.0f);
        out.alpha[i] = a;
        if (a > 0.0f) out.colour.pixels[i] = Scale(colour.pixels[i], 1.0f / a);
    }
    return out;
}

} // namespace

std::vector<AppIconFile> AppIcons() {
    const Drawing detailed = Draw({0.15f, 0.34f, 0.05f, 0.13f});
    const Drawing plain = Draw({0.11f, 0.42f, 0.09f, 0.0f});
    std::vector<AppIconFile> icons;
    for (const int size : kIconSizes)
        icons.push_back({size, Finish(size <= kPlainUpTo ? plain : detailed, size)});
    return icons;
}

} // namespace assetgen
