// A font packed into one texture: the glyphs of the status line and the turn's disc, drawn
// by koravex-assetgen at build time and compiled into the program, so that no font of the
// system is needed. The game hands it to the renderer as it hands decoded pictures.
#pragma once

#include <cstdint>
#include <span>

namespace render {

// One glyph's cell in the atlas, in texels: the ink with its outline. Clear texels lie between
// the cells, so that a smaller mipmap level does not bleed a neighbour in.
struct AtlasGlyph {
    std::int16_t advance = 0; // pen movement to the next glyph
    std::int16_t left = 0;    // the cell's left edge, from the pen
    std::int16_t top = 0;     // the cell's top edge, above the baseline
    std::int16_t width = 0;   // the cell's size; 0 for a glyph with no ink
    std::int16_t height = 0;
    std::int16_t x = 0; // the cell's top-left corner in the atlas
    std::int16_t y = 0;
};

struct GlyphAtlas {
    int width = 0; // texels; powers of two
    int height = 0;
    int lineHeight = 0; // the font's line box, in texels
    int ascent = 0;     // from the top of the line box down to the baseline
    int capHeight = 0;  // of the capital letters, above the baseline
    char first = ' ';   // the character of glyphs[0]; each next glyph is the next character
    std::span<const AtlasGlyph> glyphs;
    AtlasGlyph disc;      // a round piece with its outline, top on the baseline like a glyph
    AtlasGlyph plainDisc; // the same circle without the outline, to lay a rim over
    // width * height pairs, top row first: the text's coverage (luminance) and the coverage
    // of the text over its dark outline (alpha), premultiplied: luminance <= alpha.
    std::span<const std::uint8_t> texels;
};

// The glyph of `c`, or nothing when the atlas has none.
inline const AtlasGlyph* FindGlyph(const GlyphAtlas& atlas, char c) {
    const int index = static_cast<unsigned char>(c) - static_cast<unsigned char>(atlas.first);
    if (index < 0 || static_cast<std::size_t>(index) >= atlas.glyphs.size()) return nullptr;
    return &atlas.glyphs[static_cast<std::size_t>(index)];
}

} // namespace render
