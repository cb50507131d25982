#include "tools/assetgen/ui.h"

#include <SDL_ttf.h>

#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/wood.h"

namespace assetgen {

void WalnutBackground(Canvas& c, Box area, float pixelsPerUnit, std::uint32_t seed) {
    const int x0 = std::max(0, static_cast<int>(area.x0)),
              x1 = std::min(c.width, static_cast<int>(area.x1));
    const int y0 = std::max(0, static_cast<int>(area.y0)),
              y1 = std::min(c.height, static_cast<int>(area.y1));
    // A unit of wood is about ten pixels of the picture as shown.
    const float k = 1.0f / (10.0f * pixelsPerUnit);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            At(c, x, y) = Walnut(seed, static_cast<float>(y) * k, static_cast<float>(x) * k);
}

void RaisedFace(Canvas& c, Box b, float radius, float scale) {
    const float drop = 2.5f * scale;
    Fill(
        c, b.x0, b.y0 + drop, b.x1, b.y1 + drop,
        [&](float x, float y) {
            return BoxDistance(x, y, b.x0, b.y0 + drop, b.x1, b.y1 + drop, radius);
        },
        Hex(0x000000), 0.55f, 3.0f * scale);
    Fill(
        c, b.x0, b.y0, b.x1, b.y1,
        [&](float x, float y) { return BoxDistance(x, y, b.x0, b.y0, b.x1, b.y1, radius); },
        Hex(0x24150B));
    const float rim = 1.5f * scale;
    const Box face{b.x0 + rim, b.y0 + rim, b.x1 - rim, b.y1 - rim};
    Paint(
        c, face.x0, face.y0, face.x1, face.y1,
        [&](float x, float y) {
            return BoxDistance(x, y, face.x0, face.y0, face.x1, face.y1, radius - rim);
        },
        [&](float, float y) {
            const float t = (y - face.y0) / (face.y1 - face.y0);
            // A bright lip along the top edge, as on a rounded face catching the light.
            const float lip = 1.0f - SmoothStep(0.0f, 3.0f * scale, y - face.y0);
            return Mix(Mix(colours::kFaceTop, colours::kFaceBottom, t), Hex(0xFFF6E4), 0.6f * lip);
        });
}

void Well(Canvas& c, Box b, float radius, float scale) {
    Fill(
        c, b.x0, b.y0, b.x1, b.y1,
        [&](float x, float y) { return BoxDistance(x, y, b.x0, b.y0, b.x1, b.y1, radius); },
        colours::kWell);
    // Its lower lip catches the light.
    Fill(
        c, b.x0, b.y0, b.x1, b.y1 + scale,
        [&](float x, float y) {
            const float outer = BoxDistance(x, y, b.x0, b.y0 + scale, b.x1, b.y1 + scale, radius);
            const float inner = BoxDistance(x, y, b.x0, b.y0, b.x1, b.y1, radius);
            return std::max(outer, -inner);
        },
        Hex(0x8A6242), 0.8f);
}

namespace {

int CapHeight(_TTF_Font* font) {
    int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    if (TTF_GlyphMetrics(font, 'H', &minx, &maxx, &miny, &maxy, &advance) != 0) return Ascent(font);
    return maxy;
}

Box InkBox(const TextMask& mask, float x, float y) {
    int ix0 = mask.width, iy0 = mask.height, ix1 = -1, iy1 = -1;
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx)
            if (mask.coverage[static_cast<std::size_t>(my) * mask.width + mx] > 0.2f) {
                ix0 = std::min(ix0, mx);
                iy0 = std::min(iy0, my);
                ix1 = std::max(ix1, mx);
                iy1 = std::max(iy1, my);
            }
    if (ix1 < 0) return {x, y, x, y};
    return {x + static_cast<float>(ix0), y + static_cast<float>(iy0),
            x + static_cast<float>(ix1 + 1), y + static_cast<float>(iy1 + 1)};
}

} // namespace

Box TextAt(Canvas& c, _TTF_Font* font, const std::string& text, float x, float baseline,
           Rgb colour) {
    const TextMask mask = RenderText(font, text);
    const int left = static_cast<int>(std::lround(x));
    const int top = static_cast<int>(std::lround(baseline)) - Ascent(font);
    DrawMask(c, mask, left, top, colour);
    return InkBox(mask, static_cast<float>(left), static_cast<float>(top));
}

Box CentredText(Canvas& c, _TTF_Font* font, const std::string& text, float cx, float cy, Rgb colour,
                bool shadow) {
    const TextMask mask = RenderText(font, text);
    const int left = static_cast<int>(std::lround(cx - 0.5f * static_cast<float>(mask.width)));
    const int baseline =
        static_cast<int>(std::lround(cy + 0.5f * static_cast<float>(CapHeight(font))));
    const int top = baseline - Ascent(font);
    if (shadow) {
        const int offset = std::max(1, LineHeight(font) / 14);
        DrawMask(c, mask, left + offset, top + offset, Hex(0x000000), 0.6f);
    }
    DrawMask(c, mask, left, top, colour);
    return InkBox(mask, static_cast<float>(left), static_cast<float>(top));
}

Box KeyCap(Canvas& c, _TTF_Font* font, const std::string& name, float cx, float cy, float scale) {
    const float halfHeight = 0.5f * static_cast<float>(CapHeight(font)) + 3.0f * scale;
    const float halfWidth =
        std::max(halfHeight, 0.5f * static_cast<float>(TextWidth(font, name)) + 2.5f * scale);
    const Box b{cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight};
    const float radius = 2.5f * scale;
    Fill(
        c, b.x0, b.y0, b.x1, b.y1 + scale,
        [&](float x, float y) { return BoxDistance(x, y, b.x0, b.y0, b.x1, b.y1 + scale, radius); },
        Hex(0xB88A5A));
    const float rim = 0.8f * scale;
    Fill(
        c, b.x0, b.y0, b.x1, b.y1,
        [&](float x, float y) {
            return BoxDistance(x, y, b.x0 + rim, b.y0 + rim, b.x1 - rim, b.y1 - rim, radius - rim);
        },
        Hex(0x2A1A0E));
    CentredText(c, font, name, cx, cy, colours::kCream);
    return b;
}

void PieceDisc(Canvas& c, float cx, float cy, float radius, bool light) {
    const Rgb base = light ? Hex(0xF0DDB8) : Hex(0x4A3A2C);
    const Rgb rim = light ? Hex(0xA88A5E) : Hex(0x1E1610);
    Fill(
        c, cx - radius, cy - radius + radius * 0.15f, cx + radius, cy + radius * 1.15f,
        [&](float x, float y) { return CircleDistance(x, y, cx, cy + radius * 0.15f, radius); },
        Hex(0x000000), 0.45f, std::max(1.0f, radius * 0.15f));
    Fill(
        c, cx - radius, cy - radius, cx + radius, cy + radius,
        [&](float x, float y) { return CircleDistance(x, y, cx, cy, radius); }, rim);
    const float inner = radius * 0.86f;
    Paint(
        c, cx - inner, cy - inner, cx + inner, cy + inner,
        [&](float x, float y) { return CircleDistance(x, y, cx, cy, inner); },
        [&](float x, float y) {
            // Lit from the upper left: a soft highlight, darker towards the lower right.
            const float d =
                std::hypot(x - (cx - inner * 0.35f), y - (cy - inner * 0.35f)) / (1.6f * inner);
            return Mix(Scale(base, 1.08f), Mix(base, rim, 0.45f), std::clamp(d, 0.0f, 1.0f));
        });
}

void Emblem(Canvas& c, float cx, float cy, float size) {
    const float half = 0.5f * size, r = 0.12f * size;
    const Box plate{cx - half, cy - half, cx + half, cy + half};
    Fill(
        c, plate.x0, plate.y0 + size * 0.03f, plate.x1, plate.y1 + size * 0.03f,
        [&](float x, float y) {
            return BoxDistance(x, y, plate.x0, plate.y0 + size * 0.03f, plate.x1,
                               plate.y1 + size * 0.03f, r);
        },
        Hex(0x000000), 0.5f, size * 0.03f);
    Paint(
        c, plate.x0, plate.y0, plate.x1, plate.y1,
        [&](float x, float y) {
            return BoxDistance(x, y, plate.x0, plate.y0, plate.x1, plate.y1, r);
        },
        [&](float x, float y) {
            const float t = ((x - plate.x0) + (y - plate.y0)) / (2.0f * size);
            return Scale(Mix(Hex(0xF2C58A), Hex(0xC98A4C), t),
                         1.0f + 0.05f * Noise2(5, x * 8.0f / size, y * 60.0f / size));
        });
    // A 4 x 4 grid of hollows; the pieces take the corners of a tilted square on it.
    const float pitch = size * 0.22f;
    GridSquare grid;
    grid.first = {cx - 1.5f * pitch, cy - 1.5f * pitch};
    grid.stepX = grid.stepY = pitch;
    grid.side = 4;
    grid.hollowRadius = size * 0.045f;
    grid.hollow = Hex(0x7A4A26);
    grid.lineHalfWidth = size * 0.018f;
    grid.pieceRadius = size * 0.085f;
    const int corners[4][2] = {{1, 0}, {3, 1}, {2, 3}, {0, 2}};
    DrawGridSquare(c, grid, corners);
}

void DrawGridSquare(Canvas& c, const GridSquare& g, const int corners[4][2]) {
    const auto at = [&](int i, int j) {
        return Point{g.first.x + static_cast<float>(i) * g.stepX,
                     g.first.y + static_cast<float>(j) * g.stepY};
    };
    const float reach = g.hollowRadius + 2.0f;
    for (int i = 0; i < g.side; ++i)
        for (int j = 0; j < g.side; ++j) {
            const Point p = at(i, j);
            Fill(
                c, p.x - reach, p.y - reach, p.x + reach, p.y + reach,
                [&](float px, float py) {
                    return CircleDistance(px, py, p.x, p.y, g.hollowRadius);
                },
                g.hollow, 0.9f);
        }
    for (int k = 0; k < 4; ++k) {
        const Point a = at(corners[k][0], corners[k][1]);
        const Point b = at(corners[(k + 1) % 4][0], corners[(k + 1) % 4][1]);
        const float pad = g.lineHalfWidth + 2.0f;
        Fill(
            c, std::min(a.x, b.x) - pad, std::min(a.y, b.y) - pad, std::max(a.x, b.x) + pad,
            std::max(a.y, b.y) + pad,
            [&](float px, float py) {
                return SegmentDistance(px, py, a.x, a.y, b.x, b.y, g.lineHalfWidth);
            },
            Hex(0xB3261E));
    }
    for (int k = 0; k < 4; ++k) {
        const Point p = at(corners[k][0], corners[k][1]);
        PieceDisc(c, p.x, p.y, g.pieceRadius, g.light);
    }
}

} // namespace assetgen
