// The status line's glyphs and the turn's disc, packed into one texture and compiled into the
// program as a C++ source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Large enough that the line stays sharp on a screen 2160 pixels high.
inline constexpr int kStatusFontPixels = 76;
inline constexpr int kStatusAtlasWidth = 1024;

// Whether the atlas holds a glyph for c: letters, digits and the punctuation of the messages.
bool InStatusFont(char c);

struct StatusGlyphCell {
    int advance = 0, left = 0, top = 0, width = 0, height = 0, x = 0, y = 0;
};

struct StatusAtlas {
    int width = 0, height = 0;
    int lineHeight = 0, ascent = 0, capHeight = 0;
    std::vector<StatusGlyphCell> glyphs; // ' ' to 'z'; a character left out has no cell
    StatusGlyphCell disc, plainDisc;
    std::vector<std::uint8_t> texels; // luminance and alpha pairs, top row first
};

// DejaVu Sans Bold at kStatusFontPixels, each glyph over a soft dark outline.
StatusAtlas BuildStatusAtlas();

// A C++ source defining game::StatusFont() over the atlas.
std::string StatusFontSource(const StatusAtlas& atlas);

} // namespace assetgen
