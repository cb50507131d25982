#include "game/status_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "game/overlay_transform.h"
#include "game/panel_layout.h"
#include "game/state.h"
#include "rules/state.h"

namespace game {

namespace {

constexpr double kLineShare = 0.04;   // the line box, of the window's height
constexpr double kLeastShare = 0.025; // the least it shrinks to where the window is narrow
constexpr double kMarginLines = 0.5;  // from the window's top and left edges, in lines
constexpr double kGapLines = 1.1;     // between two parts on one line
constexpr float kRimShare = 0.72f;    // the dark disc's face, of its rim's size
constexpr std::array<float, 3> kTextColour{1.0f, 0.96f, 0.88f};
constexpr std::array<float, 3> kRimColour{0.8f, 0.8f, 0.8f};
// The pieces' greys.
constexpr float kLightGrey = 0.6f;
constexpr float kDarkGrey = 0.25f;

using Part = std::array<char, 40>;

// "(you)" or "(computer)" after a player's name, when a person plays against the computer.
const char* Role(int player) {
    if (rules::state.SeatIsComputer[1] == rules::state.SeatIsComputer[2]) return "";
    return rules::state.SeatIsComputer[static_cast<std::size_t>(player)] ? " (computer)" : " (you)";
}

void Add(StatusText& text, const char* format, auto... values) {
    if (text.count >= text.parts.size()) return;
    Part& part = text.parts[text.count++];
    std::snprintf(part.data(), part.size(), format, values...);
}

bool InDisc(const StatusText& text, std::size_t part) {
    return part == 0 && text.discPlayer != 0;
}

double PartWidth(const StatusText& text, std::size_t part, const render::GlyphAtlas& atlas) {
    double width = InDisc(text, part) ? atlas.disc.advance : 0;
    for (const char c : std::string_view(text.parts[part].data()))
        if (const render::AtlasGlyph* glyph = render::FindGlyph(atlas, c)) width += glyph->advance;
    return width;
}

struct Pen {
    const render::GlyphAtlas& atlas;
    render::TextRun& run;
    double scale; // window pixels per atlas texel
};

void Put(Pen& pen, const render::AtlasGlyph& glyph, double x, double baseline,
         std::array<float, 3> colour, float shrink = 1.0f) {
    if (glyph.width == 0 || pen.run.count >= pen.run.quads.size()) return;
    const double k = pen.scale;
    double x1 = x + glyph.left * k, x2 = x1 + glyph.width * k;
    double y2 = baseline + glyph.top * k, y1 = y2 - glyph.height * k;
    if (shrink != 1.0f) {
        const double cx = 0.5 * (x1 + x2), cy = 0.5 * (y1 + y2);
        x1 = cx + (x1 - cx) * shrink;
        x2 = cx + (x2 - cx) * shrink;
        y1 = cy + (y1 - cy) * shrink;
        y2 = cy + (y2 - cy) * shrink;
    }
    const auto w = static_cast<float>(pen.atlas.width);
    const auto h = static_cast<float>(pen.atlas.height);
    pen.run.quads[pen.run.count++] = {static_cast<float>(x1),
                                      static_cast<float>(y1),
                                      static_cast<float>(x2),
                                      static_cast<float>(y2),
                                      glyph.x / w,
                                      glyph.y / h,
                                      (glyph.x + glyph.width) / w,
                                      (glyph.y + glyph.height) / h,
                                      colour};
}

// Lays one part from the pen at (x, baseline); returns the pen after it.
double PutPart(Pen& pen, const StatusText& text, std::size_t part, double x, double baseline) {
    if (InDisc(text, part)) {
        if (text.discPlayer == 1) {
            Put(pen, pen.atlas.disc, x, baseline, {kLightGrey, kLightGrey, kLightGrey});
        } else {
            // A light rim shows the dark piece on the dark backdrop.
            Put(pen, pen.atlas.disc, x, baseline, kRimColour);
            Put(pen, pen.atlas.plainDisc, x, baseline, {kDarkGrey, kDarkGrey, kDarkGrey},
                kRimShare);
        }
        x += pen.atlas.disc.advance * pen.scale;
    }
    for (const char c : std::string_view(text.parts[part].data())) {
        const render::AtlasGlyph* glyph = render::FindGlyph(pen.atlas, c);
        if (!glyph) continue;
        // Whole pixels keep the glyphs from shimmering as the line changes.
        Put(pen, *glyph, std::round(x), baseline, kTextColour);
        x += glyph->advance * pen.scale;
    }
    return x;
}

} // namespace

StatusText ChooseStatusText() {
    StatusText text;
    if (state.QuitPromptShown) {
        Add(text, "Press Esc again to quit");
        return text;
    }
    const int player = rules::state.CurrentPlayer == 2 ? 2 : 1;
    text.discPlayer = player;
    Add(text, rules::state.GameOver ? "Player %d%s wins" : "Player %d%s to move", player,
        Role(player));
    Add(text, "Score %d : %d", static_cast<int>(rules::state.Wins[1]),
        static_cast<int>(rules::state.Wins[2]));
    if (rules::state.GameOver) Add(text, "N: new game");
    return text;
}

void LayOutStatusLine(const StatusText& text, const render::GlyphAtlas& atlas, int width,
                      int height, render::TextRun& run) {
    run.count = 0;
    if (atlas.lineHeight <= 0 || atlas.width <= 0 || atlas.height <= 0) return;
    const double h = std::max(height, 1);
    // Left of the panel as it stands opened, so that it never covers the line.
    const render::ScreenRect opened = CornerToWindow(
        {double(render::kScreenRight - panel::kWidth), 0, render::kScreenRight, 0}, width, height);
    double scale = kLineShare * h / atlas.lineHeight;
    const double margin = kMarginLines * kLineShare * h;
    const double room = opened.x1 - 2 * margin;
    double widest = 0;
    for (std::size_t part = 0; part < text.count; ++part)
        widest = std::max(widest, PartWidth(text, part, atlas));
    if (widest * scale > room && room > 0)
        scale = std::max(room / widest, kLeastShare * h / atlas.lineHeight);

    Pen pen{atlas, run, scale};
    const double line = atlas.lineHeight * scale;
    const double gap = kGapLines * line;
    double x = margin;
    double baseline = std::round(h - margin - atlas.ascent * scale);
    for (std::size_t part = 0; part < text.count; ++part) {
        const double partWidth = PartWidth(text, part, atlas) * scale;
        if (x > margin && x + gap + partWidth > margin + room) {
            x = margin;
            baseline = std::round(baseline - line);
        } else if (x > margin) {
            x += gap;
        }
        x = PutPart(pen, text, part, x, baseline);
    }
}

} // namespace game
