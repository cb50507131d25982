#include "tools/assetgen/wood.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/board_model.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

namespace {

// One board cut from a log: where the log's centre lies relative to the face decides the
// figure, flat arches where the face climbs slowly through the rings.
struct Plank {
    std::uint32_t seed = 0;
    float pithAcross = 0; // across the grain, from the plank's own centre line
    float pithDepth = 0;  // below the face
    float slope = 0;      // rise through the rings per unit along the grain
    float ringWidth = 1;
    float brightness = 1;
    float pores = 0.3f; // how dark the open pores show
    Rgb early, late;
};

// What every wood face shares over its rings: pores, fine dark streaks running with the grain;
// flecks, longer and fainter; and slow changes of tone over the board, as in any real timber.
Rgb PoresFlecksAndDrift(const Plank& p, Rgb c, float u, float v) {
    const std::uint32_t s = p.seed;
    const float pore = std::max(0.0f, Noise2(s + 6, u * 0.3f, v * 4.5f) - 0.2f);
    c = Scale(c, 1.0f - p.pores * pore);
    const float fleck = std::max(0.0f, Noise2(s + 7, u * 0.12f, v * 1.7f) - 0.35f);
    c = Scale(c, 1.0f - 0.2f * fleck);
    const float drift = Fbm2(s + 8, u * 0.012f, v * 0.05f, 3);
    return Scale(c, p.brightness * (1.0f + 0.08f * drift));
}

Rgb Grain(const Plank& p, float u, float v) {
    const std::uint32_t s = p.seed;
    const float wu = u + 2.5f * Fbm2(s + 1, u * 0.02f, v * 0.05f, 3);
    const float wv = v + 0.9f * Fbm2(s + 2, u * 0.035f, v * 0.08f, 4);
    const float depth = p.pithDepth + p.slope * wu + 1.5f * Fbm2(s + 3, u * 0.025f, v * 0.03f, 3);
    const float rho = std::hypot(wv - p.pithAcross, depth);
    const float ring = rho / p.ringWidth + 0.3f * Fbm2(s + 4, u * 0.06f, v * 0.4f, 3);
    const float f = ring - std::floor(ring);
    // Open, light earlywood darkening into the dense latewood, then a sharp edge.
    float late = SmoothStep(0.35f, 0.93f, f) * (1.0f - SmoothStep(0.955f, 1.0f, f));
    late *= late;
    const float ringStrength = 0.75f + 0.25f * Noise2(s + 5, ring * 0.7f, u * 0.01f);
    return PoresFlecksAndDrift(p, Mix(p.early, p.late, late * ringStrength), u, v);
}

// The face of a flat-sawn plank: nested arches where it cuts the rings at a shallow angle.
// Earlywood darkens slowly into latewood; where the next ring's earlywood starts the edge is
// crisp, yet spread over about a pixel of the picture (`unitsPerPixel`), and the ring's shape
// bends only gently, so no boundary frays or shows steps at any size.
Rgb FieldGrain(const Plank& p, float u, float v, float unitsPerPixel) {
    const std::uint32_t s = p.seed;
    const float wv = v + 0.7f * Fbm2(s + 2, u * 0.02f, v * 0.04f, 2);
    const float depth = p.pithDepth + p.slope * u + 1.2f * Fbm2(s + 3, u * 0.02f, v * 0.025f, 2);
    const float across = wv - p.pithAcross;
    const float rho = std::hypot(across, depth);
    const float ring = rho / p.ringWidth + 0.15f * Fbm2(s + 4, u * 0.015f, v * 0.03f, 2);
    const float f = ring - std::floor(ring);
    // Rings crossed per pixel: the face climbs through them along u, and across v.
    const float perUnit = std::hypot(across, depth * p.slope) / std::max(rho, 1e-3f) / p.ringWidth;
    const float edge = std::clamp(0.9f * perUnit * unitsPerPixel, 0.02f, 0.3f);
    const float ramp = std::pow(SmoothStep(0.3f, 1.0f, f), 2.0f);
    // The ramp drops from dark to light at the boundary; that drop is swapped for a smooth one.
    const float fromEdge = f < 0.5f ? f : f - 1.0f;
    const float late =
        ramp - (fromEdge < 0.0f ? 1.0f : 0.0f) + 1.0f - SmoothStep(-edge, edge, fromEdge);
    const float ringStrength = 0.75f + 0.25f * Noise2(s + 5, ring * 0.35f, u * 0.01f);
    return PoresFlecksAndDrift(p, Mix(p.early, p.late, late * ringStrength), u, v);
}

std::vector<Plank> FieldPlanks() {
    Rng rng{0x6B6F7261u};
    std::vector<Plank> planks;
    for (int i = 0; i < 4; ++i) {
        Plank p;
        p.seed = 1000u + 37u * static_cast<std::uint32_t>(i);
        p.pithAcross = NextRange(rng, -4.0f, 4.0f);
        p.pithDepth = NextRange(rng, 5.0f, 11.0f);
        p.slope = NextRange(rng, -0.12f, 0.12f);
        p.ringWidth = NextRange(rng, 0.75f, 1.1f);
        p.brightness = NextRange(rng, 0.93f, 1.04f);
        p.early = Hex(0xF6BF80);
        p.late = Hex(0xB86A35);
        planks.push_back(p);
    }
    return planks;
}

Plank FramePlank(std::uint32_t seed) {
    Plank p;
    p.seed = seed;
    p.pithAcross = -9.0f;
    p.pithDepth = 4.0f;
    p.slope = 0.05f;
    p.ringWidth = 0.55f;
    p.early = Hex(0x9A5E36);
    p.late = Hex(0x5A3119);
    return p;
}

constexpr float kInlayInner = 25.5f;  // dark hairline, light line, dark hairline
constexpr float kInlayOuter = 25.85f; // frame wood from here out

Rgb BoardPoint(const std::vector<Plank>& planks, const Plank frames[4], float x, float y,
               float unitsPerPixel) {
    const float edge = std::max(std::abs(x), std::abs(y));
    if (edge >= kInlayOuter) {
        // Mitred frame: each side's grain runs along that side.
        const bool upright = std::abs(x) > std::abs(y);
        const int side = upright ? (x > 0 ? 0 : 2) : (y > 0 ? 1 : 3);
        const float along = upright ? y : x;
        return Grain(frames[side], along + 40.0f * side, edge - kBoardHalf);
    }
    if (edge >= kInlayInner) {
        const float t = (edge - kInlayInner) / (kInlayOuter - kInlayInner);
        if (t < 0.15f || t > 0.85f) return Hex(0x3A2212);
        return Scale(Hex(0xFBE6C0), 0.96f + 0.04f * Noise2(77, x * 0.3f + y * 0.3f, edge * 9.0f));
    }
    // Four planks glued edge to edge, grain along x.
    const float width = 2.0f * kInlayInner / static_cast<float>(planks.size());
    const float fromBottom = y + kInlayInner;
    const int index =
        std::clamp(static_cast<int>(fromBottom / width), 0, static_cast<int>(planks.size()) - 1);
    const float centre = -kInlayInner + width * (static_cast<float>(index) + 0.5f);
    Rgb c = FieldGrain(planks[static_cast<std::size_t>(index)], x + 60.0f * index, y - centre,
                       unitsPerPixel);
    const float seam = std::abs(fromBottom - width * std::round(fromBottom / width));
    if (seam < 0.06f && edge < kInlayInner) c = Scale(c, 0.8f + 0.2f * seam / 0.06f);
    return c;
}

// Light falls on the board from the right, the front and above (as the game's lighting
// shows it); the hollows are shaded to match, with a dark line where they are cut.
float HollowShade(float x, float y) {
    float shade = 1.0f;
    const float R =
        (kHollowRadius * kHollowRadius + kHollowDepth * kHollowDepth) / (2 * kHollowDepth);
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const float dx = x - CellCentre(i), dy = y - CellCentre(j);
            const float r = std::hypot(dx, dy);
            if (r > kHollowRadius + 0.4f) continue;
            if (r < kHollowRadius) {
                const float lit = (-dx * 1.0f - dy * 0.5f) / (R * 1.2247f);
                shade *= (0.9f + 0.06f * (r / kHollowRadius)) * (1.0f + 0.5f * lit);
            }
            const float line = std::abs(r - kHollowRadius);
            shade *= 1.0f - 0.35f * (1.0f - SmoothStep(0.0f, 0.09f, line));
            // Oil and handling darken a soft ring just outside the cut.
            if (r > kHollowRadius)
                shade *= 1.0f - 0.05f * (1.0f - SmoothStep(0.0f, 0.4f, r - kHollowRadius));
        }
    }
    return shade;
}

// A square picture of the area from (left, top) across `span` units, x rightwards and y
// upwards; each pixel is the mean of four samples of `colour`.
template <typename Colour>
Canvas Supersampled(int size, float left, float top, float span, Colour colour) {
    Canvas c = MakeCanvas(size, size);
    const float unitsPerPixel = span / static_cast<float>(size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Rgb sum;
            for (int sy = 0; sy < 2; ++sy) {
                for (int sx = 0; sx < 2; ++sx) {
                    const float x =
                        left + (static_cast<float>(px) + 0.25f + 0.5f * sx) * unitsPerPixel;
                    const float y =
                        top - (static_cast<float>(py) + 0.25f + 0.5f * sy) * unitsPerPixel;
                    const Rgb p = colour(x, y);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
                }
            }
            At(c, px, py) = Scale(sum, 0.25f);
        }
    }
    return c;
}

} // namespace

Canvas BoardWood(int size) {
    const std::vector<Plank> planks = FieldPlanks();
    const Plank frames[4] = {FramePlank(501), FramePlank(502), FramePlank(503), FramePlank(504)};
    const float unitsPerPixel = 2.0f * kBoardHalf / static_cast<float>(size);
    return Supersampled(size, -kBoardHalf, kBoardHalf, 2.0f * kBoardHalf, [&](float x, float y) {
        return Scale(BoardPoint(planks, frames, x, y, unitsPerPixel), HollowShade(x, y));
    });
}

Canvas PieceWood(int size) {
    Plank p;
    p.seed = 9001;
    p.early = Hex(0xFCEBCB);
    p.late = Hex(0xE6C999);
    p.ringWidth = 0.55f;
    // The picture spans piece coordinates -20 .. 10; pieces sit round (0, 0).
    return Supersampled(size, -20.0f, 10.0f, 30.0f, [&](float x, float y) {
        // End grain: rings round a log centre off to one side of the pieces.
        const float wx = x + 0.35f * Fbm2(p.seed, x * 0.2f, y * 0.2f, 3);
        const float wy = y + 0.35f * Fbm2(p.seed + 1, x * 0.2f, y * 0.2f, 3);
        const float rho = std::hypot(wx + 9.0f, wy + 6.0f);
        const float ring = rho / p.ringWidth;
        const float f = ring - std::floor(ring);
        float late = SmoothStep(0.4f, 0.93f, f) * (1.0f - SmoothStep(0.955f, 1.0f, f));
        late *= late;
        Rgb col =
            Mix(p.early, p.late, late * (0.7f + 0.3f * Noise2(p.seed + 2, ring * 0.5f, 0.0f)));
        const float drift = Fbm2(p.seed + 3, x * 0.08f, y * 0.08f, 3);
        return Scale(col, 1.0f + 0.05f * drift);
    });
}

} // namespace assetgen

namespace assetgen {

Rgb Walnut(std::uint32_t seed, float along, float across) {
    Plank p = FramePlank(seed);
    p.ringWidth = 0.8f;
    p.pores = 0.12f;
    p.early = Hex(0x5C3820);
    p.late = Hex(0x2E1A0D);
    return Grain(p, along, across);
}

} // namespace assetgen
