#include "tools/assetgen/status_font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "tools/assetgen/bmp_writer.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/text.h"

namespace assetgen {

namespace {

constexpr char kFirst = ' ';
constexpr char kLast = 'z';
// The dark outline reaches this far beyond the ink, fading out over kOutlineSoftness.
constexpr float kOutlineRadius = 5.0f;
constexpr float kOutlineSoftness = 3.0f;
constexpr float kOutlineOpacity = 0.85f;
// Clear texels around each cell's ink and outline: at the smallest level a 600-line screen
// uses (a quarter of the atlas's size) a neighbour still keeps out.
constexpr int kMargin = 8;
constexpr int kPad = static_cast<int>(kOutlineRadius + kOutlineSoftness) + kMargin;

struct Ink {
    int width = 0, height = 0;
    std::vector<float> coverage; // 0..1
};

// The cell of an ink: coverage and the outline's coverage, with kPad texels on every side.
struct Cell {
    int width = 0, height = 0;
    std::vector<float> text, outline;
};

Cell Outlined(const Ink& ink, bool withOutline) {
    Cell cell;
    cell.width = ink.width + 2 * kPad;
    cell.height = ink.height + 2 * kPad;
    const std::size_t size = static_cast<std::size_t>(cell.width) * cell.height;
    cell.text.assign(size, 0.0f);
    cell.outline.assign(size, 0.0f);
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            cell.text[static_cast<std::size_t>(y + kPad) * cell.width + x + kPad] =
                ink.coverage[static_cast<std::size_t>(y) * ink.width + x];
    if (!withOutline) {
        cell.outline = cell.text;
        return cell;
    }
    const int reach = static_cast<int>(std::ceil(kOutlineRadius + kOutlineSoftness));
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x) {
            float best = 0.0f;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= cell.width || sy >= cell.height) continue;
                    const float c = cell.text[static_cast<std::size_t>(sy) * cell.width + sx];
                    if (c <= best) continue;
                    const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                    const float fade = std::clamp(
                        (kOutlineRadius + kOutlineSoftness - d) / kOutlineSoftness, 0.0f, 1.0f);
                    best = std::max(best, c * fade);
                }
            cell.outline[static_cast<std::size_t>(y) * cell.width + x] = best * kOutlineOpacity;
        }
    return cell;
}

Ink GlyphInkOf(_TTF_Font* font, char c, StatusGlyphCell& metrics) {
    const GlyphInk glyph = RenderGlyph(font, c);
    metrics.advance = glyph.advance;
    Ink ink{glyph.width, glyph.height, {}};
    for (const std::uint8_t v : glyph.coverage)
        ink.coverage.push_back(static_cast<float>(v) / 255.0f);
    metrics.left = glyph.left - kPad;
    metrics.top = Ascent(font) - glyph.top + kPad;
    return ink;
}

// A disc as tall as the capitals, centred on their middle.
Ink DiscInk(int capHeight, StatusGlyphCell& metrics) {
    const int side = capHeight;
    const float r = 0.5f * static_cast<float>(side);
    Ink ink{side, side, std::vector<float>(static_cast<std::size_t>(side) * side)};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ink.coverage[static_cast<std::size_t>(y) * side + x] = Coverage(CircleDistance(
                static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, r, r, r));
    metrics.advance = side + side / 3;
    metrics.left = -kPad;
    metrics.top = capHeight + kPad;
    return ink;
}

// Shelf packing in the order given, left to right and top to bottom.
struct Packer {
    int x = 0, y = 0, shelf = 0;
    void Place(StatusGlyphCell& metrics, const Cell& cell) {
        if (x + cell.width > kStatusAtlasWidth) {
            x = 0;
            y += shelf;
            shelf = 0;
        }
        metrics.x = x;
        metrics.y = y;
        metrics.width = cell.width;
        metrics.height = cell.height;
        x += cell.width;
        shelf = std::max(shelf, cell.height);
    }
};

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

bool Plain(std::uint8_t b) {
    return b >= 0x20 && b < 0x7F && b != '"' && b != '\\' && b != '?';
}

// The bytes as a string literal's body: printable characters as they are, the rest as octal
// escapes, written with three digits only where a digit follows that would extend them.
std::string Literal(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        if (Plain(b)) {
            out += static_cast<char>(b);
            continue;
        }
        const bool digitNext =
            i + 1 < count && Plain(bytes[i + 1]) && bytes[i + 1] >= '0' && bytes[i + 1] <= '7';
        char escape[6];
        std::snprintf(escape, sizeof escape, digitNext ? "\\%03o" : "\\%o", b);
        out += escape;
    }
    return out;
}

std::string CellText(const StatusGlyphCell& g) {
    return "{" + std::to_string(g.advance) + ", " + std::to_string(g.left) + ", " +
           std::to_string(g.top) + ", " + std::to_string(g.width) + ", " +
           std::to_string(g.height) + ", " + std::to_string(g.x) + ", " + std::to_string(g.y) + "}";
}

} // namespace

bool InStatusFont(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr(" :().,!?-'", c) != nullptr);
}

StatusAtlas BuildStatusAtlas() {
    const Font font = OpenFont(Weight::Bold, kStatusFontPixels);
    TTF_SetFontKerning(font.get(), 0); // laid out glyph by glyph, as the game lays them
    StatusAtlas atlas;
    atlas.lineHeight = LineHeight(font.get());
    atlas.ascent = Ascent(font.get());
    {
        int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
        if (TTF_GlyphMetrics32(font.get(), 'H', &minX, &maxX, &minY, &maxY, &advance) != 0)
            throw std::runtime_error("no glyph for 'H'");
        atlas.capHeight = maxY;
    }

    std::vector<Cell> cells;
    std::vector<StatusGlyphCell*> owners;
    atlas.glyphs.resize(static_cast<std::size_t>(kLast - kFirst + 1));
    for (char c = kFirst; c <= kLast; ++c) {
        StatusGlyphCell& metrics = atlas.glyphs[static_cast<std::size_t>(c - kFirst)];
        if (!InStatusFont(c)) continue;
        const Ink ink = GlyphInkOf(font.get(), c, metrics);
        if (ink.width == 0) {
            metrics.left = metrics.top = 0;
            continue;
        }
        cells.push_back(Outlined(ink, true));
        owners.push_back(&metrics);
    }
    const Ink disc = DiscInk(atlas.capHeight, atlas.disc);
    atlas.plainDisc = atlas.disc;
    cells.push_back(Outlined(disc, true));
    owners.push_back(&atlas.disc);
    cells.push_back(Outlined(disc, false));
    owners.push_back(&atlas.plainDisc);

    Packer packer;
    for (std::size_t k = 0; k < cells.size(); ++k)
        packer.Place(*owners[k], cells[k]);
    atlas.width = kStatusAtlasWidth;
    atlas.height = PowerOfTwoAtLeast(packer.y + packer.shelf);
    atlas.texels.assign(static_cast<std::size_t>(atlas.width) * atlas.height * 2, 0);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const Cell& cell = cells[k];
        const StatusGlyphCell& at = *owners[k];
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x) {
                const std::size_t from = static_cast<std::size_t>(y) * cell.width + x;
                const float text = cell.text[from];
                // The text laid over its outline; luminance stays premultiplied by alpha.
                const float alpha = text + cell.outline[from] * (1.0f - text);
                const std::size_t to =
                    (static_cast<std::size_t>(at.y + y) * atlas.width + at.x + x) * 2;
                atlas.texels[to] = ToByte(text);
                atlas.texels[to + 1] = std::max(atlas.texels[to], ToByte(alpha));
            }
    }
    // The quads cover the ink and its outline only: the margin keeps to the texture.
    for (StatusGlyphCell* metrics : owners) {
        metrics->x += kMargin;
        metrics->y += kMargin;
        metrics->width -= 2 * kMargin;
        metrics->height -= 2 * kMargin;
        metrics->left += kMargin;
        metrics->top -= kMargin;
    }
    return atlas;
}

std::string StatusFontSource(const StatusAtlas& atlas) {
    std::string out =
        "// Generated by koravex-assetgen: the status line's glyphs, DejaVu Sans Bold at " +
        std::to_string(kStatusFontPixels) +
        " pixels over a dark outline, and the turn's disc.\n"
        "#include \"game/status_font.h\"\n\n"
        "namespace game {\n\n"
        "namespace {\n\n"
        "// advance, left, top, width, height, x, y\n"
        "const render::AtlasGlyph kGlyphs[" +
        std::to_string(atlas.glyphs.size()) + "] = {\n";
    for (std::size_t i = 0; i < atlas.glyphs.size(); ++i)
        out += "    " + CellText(atlas.glyphs[i]) + ",\n";
    out += "};\n\n// Luminance and alpha, row by row.\nconst char kTexels[] =\n";
    const std::size_t row = static_cast<std::size_t>(atlas.width) * 2;
    for (std::size_t y = 0; y < static_cast<std::size_t>(atlas.height); ++y)
        out += "    \"" + Literal(atlas.texels.data() + y * row, row) + "\"\n";
    out += "    ;\n\n";
    out += "const render::GlyphAtlas kAtlas{" + std::to_string(atlas.width) + ", " +
           std::to_string(atlas.height) + ", " + std::to_string(atlas.lineHeight) + ", " +
           std::to_string(atlas.ascent) + ", " + std::to_string(atlas.capHeight) +
           ", ' ', kGlyphs, " + CellText(atlas.disc) + ", " + CellText(atlas.plainDisc) +
           ",\n    {reinterpret_cast<const std::uint8_t*>(kTexels), " +
           std::to_string(atlas.texels.size()) +
           "}};\n\n"
           "} // namespace\n\n"
           "const render::GlyphAtlas& StatusFont() { return kAtlas; }\n\n"
           "} // namespace game\n";
    return out;
}

} // namespace assetgen
