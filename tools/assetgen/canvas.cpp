#include "tools/assetgen/canvas.h"

namespace assetgen {

Rgb Hex(std::uint32_t rrggbb) {
    return {static_cast<float>((rrggbb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rrggbb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rrggbb & 0xFF) / 255.0f};
}

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Canvas MakeCanvas(int width, int height, Rgb fill) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(static_cast<std::size_t>(width) * height, fill);
    return c;
}

void Blend(Canvas& c, int x, int y, Rgb colour, float opacity) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    Rgb& p = At(c, x, y);
    p = Mix(p, colour, std::clamp(opacity, 0.0f, 1.0f));
}

namespace {

// Weights of the source cells [0, sourceSize) that fall into each target cell.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> Spans(int sourceSize, int targetSize) {
    std::vector<Span> spans(static_cast<std::size_t>(targetSize));
    const double ratio = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        const double lo = t * ratio;
        const double hi = (t + 1) * ratio;
        Span& s = spans[static_cast<std::size_t>(t)];
        s.first = static_cast<int>(std::floor(lo));
        const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(hi)) - 1);
        for (int i = s.first; i <= last; ++i) {
            const double overlap = std::min<double>(hi, i + 1) - std::max<double>(lo, i);
            s.weights.push_back(static_cast<float>(overlap / ratio));
        }
    }
    return spans;
}

} // namespace

Canvas Resample(const Canvas& source, int width, int height) {
    const std::vector<Span> xs = Spans(source.width, width);
    const std::vector<Span> ys = Spans(source.height, height);
    Canvas rows = MakeCanvas(width, source.height);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Span& s = xs[static_cast<std::size_t>(x)];
            Rgb sum;
            for (std::size_t i = 0; i < s.weights.size(); ++i) {
                const Rgb& p = At(source, s.first + static_cast<int>(i), y);
                sum.r += p.r * s.weights[i];
                sum.g += p.g * s.weights[i];
                sum.b += p.b * s.weights[i];
            }
            At(rows, x, y) = sum;
        }
    }
    Canvas out = MakeCanvas(width, height);
    for (int y = 0; y < height; ++y) {
        const Span& s = ys[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (std::size_t i = 0; i < s.weights.size(); ++i) {
                const Rgb& p = At(rows, x, s.first + static_cast<int>(i));
                sum.r += p.r * s.weights[i];
                sum.g += p.g * s.weights[i];
                sum.b += p.b * s.weights[i];
            }
            At(out, x, y) = sum;
        }
    }
    return out;
}

float CircleDistance(float px, float py, float cx, float cy, float radius) {
    return std::hypot(px - cx, py - cy) - radius;
}

float BoxDistance(float px, float py, float x0, float y0, float x1, float y1, float radius) {
    const float cx = 0.5f * (x0 + x1), cy = 0.5f * (y0 + y1);
    const float hx = 0.5f * (x1 - x0) - radius, hy = 0.5f * (y1 - y0) - radius;
    const float qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by, float halfWidth) {
    const float vx = bx - ax, vy = by - ay;
    const float wx = px - ax, wy = py - ay;
    const float length2 = vx * vx + vy * vy;
    const float t = length2 > 0.0f ? std::clamp((wx * vx + wy * vy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(wx - t * vx, wy - t * vy) - halfWidth;
}

float ConvexDistance(float px, float py, const float* xs, const float* ys, int n) {
    // Exact distance to the outline, signed by whether the point is inside every edge.
    float best = 1e30f;
    bool inside = true;
    float area = 0.0f;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        area += xs[i] * ys[j] - xs[j] * ys[i];
    }
    const float orientation = area >= 0.0f ? 1.0f : -1.0f;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        best = std::min(best, SegmentDistance(px, py, xs[i], ys[i], xs[j], ys[j], 0.0f));
        const float side = (xs[j] - xs[i]) * (py - ys[i]) - (ys[j] - ys[i]) * (px - xs[i]);
        if (side * orientation < 0.0f) inside = false;
    }
    return inside ? -best : best;
}

} // namespace assetgen
