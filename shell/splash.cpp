#include "shell/splash.h"

#include <array>
#include <cstdint>
#include <vector>

#include "shell/platform.h"

namespace shell {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;

// 5 x 7 block letters of the title, one row per byte, high bit on the left.
struct Glyph {
    char letter;
    std::array<std::uint8_t, 7> rows;
};
constexpr std::array<Glyph, 7> kGlyphs{{
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
}};

const Glyph* FindGlyph(char letter) {
    for (const Glyph& g : kGlyphs)
        if (g.letter == letter) return &g;
    return nullptr;
}

std::vector<std::uint8_t> MakePicture() {
    std::vector<std::uint8_t> rgb(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &rgb[(y * kWidth + x) * 3];
            p[0] = static_cast<std::uint8_t>(60 + y / 4);
            p[1] = static_cast<std::uint8_t>(36 + y / 6);
            p[2] = 20;
        }
    }
    const char* title = "KORAVEX";
    constexpr int scale = 6;
    constexpr int advance = 6 * scale;
    const int left = (kWidth - 7 * advance + scale) / 2;
    const int top = (kHeight - 7 * scale) / 2;
    for (int n = 0; title[n]; ++n) {
        const Glyph* g = FindGlyph(title[n]);
        for (int row = 0; g && row < 7 * scale; ++row) {
            for (int col = 0; col < 5 * scale; ++col) {
                if (!(g->rows[row / scale] & (0x10 >> (col / scale)))) continue;
                std::uint8_t* p = &rgb[((top + row) * kWidth + left + n * advance + col) * 3];
                p[0] = 240;
                p[1] = 200;
                p[2] = 120;
            }
        }
    }
    return rgb;
}

} // namespace

void ShowSplash() {
    const std::vector<std::uint8_t> picture = MakePicture();
    platform::ShowSplash(picture.data(), kWidth, kHeight);
}

} // namespace shell
