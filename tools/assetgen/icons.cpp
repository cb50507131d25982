#include "tools/assetgen/icons.h"

#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/text.h"
#include "tools/assetgen/ui.h"

namespace assetgen {

namespace {

// Seat and first-player buttons cover 50 x 50 panel units, 141 pixels on a screen 2160 high;
// drawn at 8 pixels a unit.
constexpr float kUnit = 8.0f;
constexpr int kButtonDesign = 400;
constexpr int kButtonSize = 256;

Canvas Tile(bool bright) {
    Canvas c = MakeCanvas(kButtonDesign, kButtonDesign, colours::kWell);
    const float inset = 1.0f * kUnit;
    RaisedFace(c, {inset, inset, kButtonDesign - inset, kButtonDesign - inset - 1.5f * kUnit},
               7 * kUnit, kUnit);
    if (!bright) {
        for (Rgb& p : c.pixels)
            p = Scale(Mix(p, Hex(0x8C7250), 0.35f), 0.72f);
    }
    return c;
}

Canvas Finish(const Canvas& design) {
    return Resample(design, kButtonSize, kButtonSize);
}

const Rgb kIcon = Hex(0x3A2414);

} // namespace

Canvas ComputerButton() {
    Canvas c = Tile(true);
    const float u = kUnit;
    // Stand and foot.
    const float sx[4] = {22 * u, 28 * u, 31 * u, 19 * u};
    const float sy[4] = {31 * u, 31 * u, 38 * u, 38 * u};
    Fill(
        c, 18 * u, 30 * u, 32 * u, 39 * u,
        [&](float x, float y) { return ConvexDistance(x, y, sx, sy, 4); }, kIcon);
    Fill(
        c, 13 * u, 37 * u, 37 * u, 41 * u,
        [&](float x, float y) {
            return BoxDistance(x, y, 14 * u, 37.5f * u, 36 * u, 40.5f * u, 1.5f * u);
        },
        kIcon);
    // Bezel and screen, the screen lit with a cool glow and a diagonal reflection.
    Fill(
        c, 8 * u, 9 * u, 42 * u, 32 * u,
        [&](float x, float y) { return BoxDistance(x, y, 8 * u, 9 * u, 42 * u, 32 * u, 2.5f * u); },
        kIcon);
    Paint(
        c, 10.5f * u, 11.5f * u, 39.5f * u, 29.5f * u,
        [&](float x, float y) {
            return BoxDistance(x, y, 10.5f * u, 11.5f * u, 39.5f * u, 29.5f * u, 1.0f * u);
        },
        [&](float x, float y) {
            const float t = (y - 11.5f * u) / (18 * u);
            Rgb screen = Mix(Hex(0x6FB6D8), Hex(0x1F5E86), t);
            const float band = x + 0.8f * y;
            if (band > 30 * u && band < 38 * u) screen = Mix(screen, Hex(0xFFFFFF), 0.25f);
            return screen;
        });
    // A prompt on the screen.
    Fill(
        c, 13 * u, 14 * u, 21 * u, 22 * u,
        [&](float x, float y) {
            return std::min(SegmentDistance(x, y, 14 * u, 15 * u, 18 * u, 18 * u, 0.9f * u),
                            SegmentDistance(x, y, 18 * u, 18 * u, 14 * u, 21 * u, 0.9f * u));
        },
        Hex(0xE8F6FF));
    Fill(
        c, 19 * u, 20 * u, 27 * u, 23 * u,
        [&](float x, float y) {
            return SegmentDistance(x, y, 20 * u, 21.5f * u, 26 * u, 21.5f * u, 0.9f * u);
        },
        Hex(0xE8F6FF));
    return Finish(c);
}

Canvas PersonButton() {
    Canvas c = Tile(true);
    const float u = kUnit;
    // Shoulders: the top half of a rounded body, cut by the tile's lower edge.
    Fill(
        c, 10 * u, 26 * u, 40 * u, 44 * u,
        [&](float x, float y) {
            const float body = BoxDistance(x, y, 11 * u, 27 * u, 39 * u, 52 * u, 11 * u);
            return std::max(body, y - 41 * u);
        },
        kIcon);
    Fill(
        c, 15 * u, 6 * u, 35 * u, 28 * u,
        [&](float x, float y) { return CircleDistance(x, y, 25 * u, 16.5f * u, 7.2f * u); }, kIcon);
    return Finish(c);
}

namespace {

// The dark ring round a first-player button's socket; `u` is the drawing unit.
void SocketRing(Canvas& c, float u) {
    Fill(
        c, 9 * u, 8 * u, 41 * u, 40 * u,
        [&](float x, float y) { return CircleDistance(x, y, 25 * u, 24 * u, 14 * u); },
        Hex(0x24150B));
}

} // namespace

Canvas MarkedButton() {
    Canvas c = Tile(true);
    const float u = kUnit;
    SocketRing(c, u);
    Paint(
        c, 11 * u, 10 * u, 39 * u, 38 * u,
        [&](float x, float y) { return CircleDistance(x, y, 25 * u, 24 * u, 12.5f * u); },
        [&](float x, float y) {
            const float d = std::hypot(x - 21 * u, y - 19 * u) / (17 * u);
            return Mix(Hex(0x5CC46A), colours::kGreen, std::clamp(d, 0.0f, 1.0f));
        });
    Fill(
        c, 15 * u, 15 * u, 36 * u, 33 * u,
        [&](float x, float y) {
            return std::min(
                SegmentDistance(x, y, 18 * u, 24.5f * u, 23 * u, 29.5f * u, 1.8f * u),
                SegmentDistance(x, y, 23 * u, 29.5f * u, 32.5f * u, 18.5f * u, 1.8f * u));
        },
        Hex(0xFFFFFF));
    return Finish(c);
}

Canvas EmptyButton() {
    Canvas c = Tile(false);
    const float u = kUnit;
    SocketRing(c, u);
    Paint(
        c, 11 * u, 10 * u, 39 * u, 38 * u,
        [&](float x, float y) { return CircleDistance(x, y, 25 * u, 24 * u, 12.5f * u); },
        [&](float, float y) {
            // A hollow socket: shaded at the top, where its wall hides the light.
            const float t = (y - 11.5f * u) / (25 * u);
            return Mix(Hex(0x3E2A1A), Hex(0x7B6347), std::clamp(t, 0.0f, 1.0f));
        });
    return Finish(c);
}

Canvas StrengthKnob() {
    // 10 x 11 panel units, drawn at 8 pixels a unit.
    constexpr float u = 8.0f;
    Canvas c = MakeCanvas(80, 88, Hex(0x2F1D10));
    Fill(
        c, 0, 0, 80, 88,
        [&](float x, float y) {
            return BoxDistance(x, y, 0.5f * u, 0.3f * u, 9.5f * u, 10.7f * u, 2 * u);
        },
        Hex(0x1A0F07));
    Paint(
        c, 0, 0, 80, 88,
        [&](float x, float y) {
            return BoxDistance(x, y, 1.2f * u, 1.0f * u, 8.8f * u, 10.0f * u, 1.5f * u);
        },
        [&](float x, float) {
            // A turned brass cylinder: bright along the middle, darker to the sides.
            const float t = std::abs(x - 4.3f * u) / (4 * u);
            return Mix(Hex(0xFBE3A0), Hex(0x8A5F1E), std::clamp(t * t, 0.0f, 1.0f));
        });
    for (int g = 0; g < 3; ++g) {
        const float gy = (3.6f + 1.9f * static_cast<float>(g)) * u;
        Fill(
            c, 2 * u, gy - u, 8 * u, gy + u,
            [&](float x, float y) {
                return SegmentDistance(x, y, 2.6f * u, gy, 7.4f * u, gy, 0.35f * u);
            },
            Hex(0x5A3A10), 0.8f);
    }
    return Resample(c, 32, 32);
}

Canvas MenuTab() {
    // 43 x 57 screen units, drawn at 8 pixels a unit; the panel's closed edge covers the
    // right-most five units.
    constexpr float u = 8.0f;
    Canvas c = MakeCanvas(43 * 8, 57 * 8);
    WalnutBackground(c, {0, 0, 43 * u, 57 * u}, u, 91);
    // A rounded lip along the three free sides.
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const float d = std::min({static_cast<float>(x), static_cast<float>(y),
                                      static_cast<float>(c.height - 1 - y)}) /
                            u;
            const float light = d < 1.2f ? 1.6f : (d < 2.5f ? 0.75f : 1.0f);
            At(c, x, y) = Scale(At(c, x, y), light);
        }
    const float cx = 19.0f * u;
    Fill(
        c, 8 * u, 8 * u, 30 * u, 32 * u,
        [&](float x, float y) {
            return std::min(SegmentDistance(x, y, 23 * u, 12 * u, 14 * u, 21 * u, 2.2f * u),
                            SegmentDistance(x, y, 14 * u, 21 * u, 23 * u, 30 * u, 2.2f * u));
        },
        colours::kCream);
    const Font font = OpenFont(Weight::Bold, static_cast<int>(9 * u));
    CentredText(c, font.get(), "Menu", cx, 44.0f * u, colours::kCream, true);
    return Resample(c, 256, 256);
}

} // namespace assetgen
