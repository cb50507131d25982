// A picture being drawn: floating-point RGB in display space, top row first, with
// anti-aliased shapes described by signed distances.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// 0xRRGGBB as a colour.
Rgb Hex(std::uint32_t rrggbb);
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float k);

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // width * height, row by row from the top
};

Canvas MakeCanvas(int width, int height, Rgb fill = {});
inline Rgb& At(Canvas& c, int x, int y) {
    return c.pixels[static_cast<std::size_t>(y) * c.width + x];
}
inline const Rgb& At(const Canvas& c, int x, int y) {
    return c.pixels[static_cast<std::size_t>(y) * c.width + x];
}

// Lays colour over one pixel with the given opacity; pixels outside the canvas are left alone.
void Blend(Canvas& c, int x, int y, Rgb colour, float opacity);

// Area-weighted resampling to a new size (used to squeeze a page drawn at screen proportions
// into a power-of-two picture without losing its anti-aliasing).
Canvas Resample(const Canvas& source, int width, int height);

// Signed distances in pixels, negative inside.
float CircleDistance(float px, float py, float cx, float cy, float radius);
float BoxDistance(float px, float py, float x0, float y0, float x1, float y1, float radius);
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by, float halfWidth);
// A convex polygon given counter-clockwise or clockwise; n corners in xs/ys.
float ConvexDistance(float px, float py, const float* xs, const float* ys, int n);

// Coverage of a pixel by a shape at signed distance d, with a one-pixel soft edge.
inline float Coverage(float d) {
    return std::clamp(0.5f - d, 0.0f, 1.0f);
}

// Paints the shape `distance(x, y)` within the box, coloured by `shade(x, y)` at each pixel
// centre, with `softness` pixels of blur on the edge (1 for a crisp, anti-aliased edge).
template <class Distance, class Shade>
void Paint(Canvas& c, float x0, float y0, float x1, float y1, Distance distance, Shade shade,
           float opacity = 1.0f, float softness = 1.0f) {
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0 - softness)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0 - softness)));
    const int ix1 = std::min(c.width - 1, static_cast<int>(std::ceil(x1 + softness)));
    const int iy1 = std::min(c.height - 1, static_cast<int>(std::ceil(y1 + softness)));
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float d = distance(px, py) / softness;
            const float cover = Coverage(d);
            if (cover > 0.0f) Blend(c, x, y, shade(px, py), cover * opacity);
        }
    }
}

// The same with one colour.
template <class Distance>
void Fill(Canvas& c, float x0, float y0, float x1, float y1, Distance distance, Rgb colour,
          float opacity = 1.0f, float softness = 1.0f) {
    Paint(
        c, x0, y0, x1, y1, distance, [colour](float, float) { return colour; }, opacity, softness);
}

} // namespace assetgen
