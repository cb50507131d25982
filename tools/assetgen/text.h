// Text for the pictures: DejaVu Sans through SDL2_ttf, turned into coverage masks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

struct _TTF_Font;

namespace assetgen {

// Keeps SDL2_ttf initialised while it lives.
struct TextLibrary {
    TextLibrary();
    ~TextLibrary();
    TextLibrary(const TextLibrary&) = delete;
    TextLibrary& operator=(const TextLibrary&) = delete;
};

struct FontCloser {
    void operator()(_TTF_Font* font) const;
};
using Font = std::unique_ptr<_TTF_Font, FontCloser>;

enum class Weight { Regular, Bold };

// DejaVu Sans at a pixel size; throws when the font file can't be opened.
Font OpenFont(Weight weight, int pixelSize);

// One line of text as coverage 0..1, the size of its line box (advance by font height).
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;
};
TextMask RenderText(_TTF_Font* font, const std::string& utf8);
int TextWidth(_TTF_Font* font, const std::string& utf8);
int LineHeight(_TTF_Font* font);
// Distance from the line box's top down to the baseline.
int Ascent(_TTF_Font* font);

// One glyph cropped to its ink: coverage 0..255, width * height bytes, top row first.
struct GlyphInk {
    int advance = 0; // pen movement to the next glyph
    int left = 0;    // the ink's left edge, from the pen
    int top = 0;     // the ink's top edge, from the top of the line box
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
};
// Throws when the font has no glyph for c; a glyph without ink has no size.
GlyphInk RenderGlyph(_TTF_Font* font, char c);

// Lays the mask on the canvas with its line box's top-left corner at (x, y).
void DrawMask(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, float opacity = 1.0f);

// Splits a paragraph into lines no wider than maxWidth, breaking at spaces.
std::vector<std::string> WrapText(_TTF_Font* font, const std::string& paragraph, int maxWidth);

} // namespace assetgen
