#include "platform/box/paint.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace platform {

namespace {

struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

constexpr Colour Hex(std::uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
            static_cast<float>(rgb & 0xFF)};
}

constexpr Colour kBackground = Hex(0xFAF9F7);
constexpr Colour kFrame = Hex(0x9E9A93);
constexpr Colour kBar = Hex(0xEDEBE7);
constexpr Colour kBarLine = Hex(0xDAD7D1);
constexpr Colour kText = Hex(0x222222);
constexpr Colour kIcon = Hex(0xC8372D);
constexpr Colour kIconMark = Hex(0xFFFFFF);
constexpr Colour kFocusRing = Hex(0x2F6FBF);
constexpr Colour kButtonTop = Hex(0xFFFFFF);
constexpr Colour kButtonBottom = Hex(0xF0EEEA);
constexpr Colour kButtonHover = Hex(0xF3F7FD);
constexpr Colour kButtonPressed = Hex(0xD6E2F2);

struct Canvas {
    BoxPixels& pixels;

    // Lays colour over one pixel; pixels outside are left alone.
    void Blend(int x, int y, Colour c, float alpha) {
        if (x < 0 || y < 0 || x >= pixels.width || y >= pixels.height || alpha <= 0.0f) return;
        std::uint32_t& p =
            pixels.argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels.width) +
                        static_cast<std::size_t>(x)];
        alpha = std::min(alpha, 1.0f);
        const auto mix = [&](int shift, float to) {
            const float from = static_cast<float>((p >> shift) & 0xFF);
            return static_cast<std::uint32_t>(std::lround(from + (to - from) * alpha)) << shift;
        };
        p = 0xFF000000u | mix(16, c.r) | mix(8, c.g) | mix(0, c.b);
    }

    void Fill(const BoxRect& r, Colour c) {
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                Blend(x, y, c, 1.0f);
    }

    // A rounded rectangle with anti-aliased edges, its colour varying from top to bottom.
    void RoundedRect(const BoxRect& r, float radius, Colour top, Colour bottom) {
        const float cx = static_cast<float>(r.x) + static_cast<float>(r.width) / 2.0f;
        const float cy = static_cast<float>(r.y) + static_cast<float>(r.height) / 2.0f;
        const float hx = static_cast<float>(r.width) / 2.0f - radius;
        const float hy = static_cast<float>(r.height) / 2.0f - radius;
        for (int y = r.y; y < r.y + r.height; ++y) {
            const float t = r.height > 1
                                ? static_cast<float>(y - r.y) / static_cast<float>(r.height - 1)
                                : 0.0f;
            const Colour c{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                           top.b + (bottom.b - top.b) * t};
            for (int x = r.x; x < r.x + r.width; ++x) {
                const float qx = std::abs(static_cast<float>(x) + 0.5f - cx) - hx;
                const float qy = std::abs(static_cast<float>(y) + 0.5f - cy) - hy;
                const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
                const float distance = outside + std::min(std::max(qx, qy), 0.0f) - radius;
                Blend(x, y, c, std::clamp(0.5f - distance, 0.0f, 1.0f));
            }
        }
    }

    void Disc(float cx, float cy, float radius, Colour c) {
        for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
            for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1;
                 ++x) {
                const float d = std::hypot(static_cast<float>(x) + 0.5f - cx,
                                           static_cast<float>(y) + 0.5f - cy) -
                                radius;
                Blend(x, y, c, std::clamp(0.5f - d, 0.0f, 1.0f));
            }
    }

    // One line of text with its line box's top-left corner at (x, y).
    void Text(const BoxFont& font, std::string_view line, int x, int y, Colour c) {
        for (const char ch : line) {
            const BoxGlyph& g = GlyphOf(font, ch);
            const std::size_t size = static_cast<std::size_t>(std::max(g.width, 0)) *
                                     static_cast<std::size_t>(std::max(g.height, 0));
            if (g.offset <= font.coverage.size() && size <= font.coverage.size() - g.offset) {
                for (int gy = 0; gy < g.height; ++gy)
                    for (int gx = 0; gx < g.width; ++gx) {
                        const std::uint8_t cover =
                            font.coverage[g.offset + static_cast<std::size_t>(gy) * g.width + gx];
                        Blend(x + g.left + gx, y + g.top + gy, c,
                              static_cast<float>(cover) / 255.0f);
                    }
            }
            x += g.advance;
            if (x > pixels.width) break;
        }
    }
};

// A red disc with a white exclamation mark: the box tells of something gone wrong.
void ErrorIcon(Canvas& canvas, const BoxRect& r) {
    const float cx = static_cast<float>(r.x) + static_cast<float>(r.width) / 2.0f;
    const float cy = static_cast<float>(r.y) + static_cast<float>(r.height) / 2.0f;
    const float radius = static_cast<float>(std::min(r.width, r.height)) / 2.0f;
    canvas.Disc(cx, cy, radius, kIcon);
    const float unit = radius / 16.0f;
    const int barWidth = std::max(static_cast<int>(std::lround(4.0f * unit)), 2);
    const int barTop = static_cast<int>(std::lround(cy - 9.5f * unit));
    const int barHeight = static_cast<int>(std::lround(12.0f * unit));
    canvas.RoundedRect(
        {static_cast<int>(std::lround(cx)) - barWidth / 2, barTop, barWidth, barHeight},
        static_cast<float>(barWidth) / 2.0f, kIconMark, kIconMark);
    canvas.Disc(cx, cy + 7.0f * unit, 2.3f * unit, kIconMark);
}

} // namespace

BoxPixels PaintBox(const BoxFont& font, const BoxLayout& box, ButtonState button) {
    BoxPixels pixels;
    pixels.width = std::max(box.width, 0);
    pixels.height = std::max(box.height, 0);
    pixels.argb.assign(static_cast<std::size_t>(pixels.width) *
                           static_cast<std::size_t>(pixels.height),
                       0xFF000000u);
    Canvas canvas{pixels};
    canvas.Fill({0, 0, pixels.width, pixels.height}, kBackground);
    canvas.Fill(box.bar, kBar);
    canvas.Fill({box.bar.x, box.bar.y, box.bar.width, 1}, kBarLine);
    ErrorIcon(canvas, box.icon);
    for (std::size_t i = 0; i < box.lines.size(); ++i)
        canvas.Text(font, box.lines[i], box.text.x,
                    box.text.y + static_cast<int>(i) * box.lineHeight, kText);

    // The only button always has the focus: a blue ring round a light face.
    const BoxRect& b = box.button;
    canvas.RoundedRect(b, 5.0f, kFocusRing, kFocusRing);
    const BoxRect face{b.x + 2, b.y + 2, b.width - 4, b.height - 4};
    switch (button) {
    case ButtonState::Normal:
        canvas.RoundedRect(face, 3.0f, kButtonTop, kButtonBottom);
        break;
    case ButtonState::Hover:
        canvas.RoundedRect(face, 3.0f, kButtonHover, kButtonHover);
        break;
    case ButtonState::Pressed:
        canvas.RoundedRect(face, 3.0f, kButtonPressed, kButtonPressed);
        break;
    }
    const int labelX = b.x + (b.width - TextWidth(font, kButtonLabel)) / 2;
    const int labelY = b.y + (b.height - font.lineHeight) / 2 + (button == ButtonState::Pressed);
    canvas.Text(font, kButtonLabel, labelX, labelY, kText);

    // A thin frame, so that the box stands out even where the desktop draws none.
    canvas.Fill({0, 0, pixels.width, 1}, kFrame);
    canvas.Fill({0, pixels.height - 1, pixels.width, 1}, kFrame);
    canvas.Fill({0, 0, 1, pixels.height}, kFrame);
    canvas.Fill({pixels.width - 1, 0, 1, pixels.height}, kFrame);
    return pixels;
}

} // namespace platform
