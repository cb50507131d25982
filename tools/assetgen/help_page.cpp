#include "tools/assetgen/help_page.h"

#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/text.h"
#include "tools/assetgen/ui.h"
#include "tools/assetgen/wood.h"

namespace assetgen {

namespace {

constexpr int kDesignWidth = 2048;
constexpr int kDesignHeight = 1536;

const Rgb kPaper = Hex(0xF5EAD2);
const Rgb kHeading = Hex(0x8B2E16);
const Rgb kBody = Hex(0x3A2414);

struct Fonts {
    Font title = OpenFont(Weight::Bold, 96);
    Font subtitle = OpenFont(Weight::Regular, 42);
    Font heading = OpenFont(Weight::Bold, 46);
    Font lead = OpenFont(Weight::Bold, 33);
    Font body = OpenFont(Weight::Regular, 31);
    Font caption = OpenFont(Weight::Bold, 28);
    Font key = OpenFont(Weight::Bold, 26);
};

constexpr float kKeyScale = 2.5f; // a key cap's padding, in pixels per unit

// Paragraph text from (x, top) within `width`; returns the y below it.
float Paragraph(Canvas& c, _TTF_Font* font, const std::string& text, float x, float top,
                float width, Rgb colour) {
    const float lineHeight = 1.22f * static_cast<float>(LineHeight(font));
    float baseline = top + static_cast<float>(Ascent(font));
    for (const std::string& line : WrapText(font, text, static_cast<int>(width))) {
        TextAt(c, font, line, x, baseline, colour);
        baseline += lineHeight;
    }
    return baseline - static_cast<float>(Ascent(font)) - lineHeight +
           static_cast<float>(LineHeight(font));
}

float Heading(Canvas& c, const Fonts& f, const std::string& text, float x, float top, float width) {
    const float baseline = top + static_cast<float>(Ascent(f.heading.get()));
    TextAt(c, f.heading.get(), text, x, baseline, kHeading);
    const float rule = baseline + 16.0f;
    Fill(
        c, x, rule - 2, x + width, rule + 2,
        [&](float px, float py) { return SegmentDistance(px, py, x, rule, x + width, rule, 1.3f); },
        kHeading, 0.6f);
    return rule + 22.0f;
}

// A bold lead-in on its own line, followed by the keys that do the same, then its text.
float Item(Canvas& c, const Fonts& f, const std::string& lead, const std::string& text, float x,
           float top, float width, const std::vector<std::string>& keys = {}) {
    const float baseline = top + static_cast<float>(Ascent(f.lead.get()));
    const Box ink = TextAt(c, f.lead.get(), lead, x, baseline, kBody);
    float keyX = ink.x1 + 18.0f;
    for (const std::string& key : keys) {
        const float capY = baseline - 0.5f * static_cast<float>(Ascent(f.lead.get())) + 6.0f;
        // Drawn once to measure it, where nothing shows, then in its place.
        Canvas scratch = MakeCanvas(1, 1);
        const Box cap = KeyCap(scratch, f.key.get(), key, 0, 0, kKeyScale);
        KeyCap(c, f.key.get(), key, keyX - cap.x0, capY, kKeyScale);
        keyX += cap.x1 - cap.x0 + 8.0f;
    }
    const float below = top + 1.15f * static_cast<float>(LineHeight(f.lead.get()));
    return Paragraph(c, f.body.get(), text, x, below, width, kBody) + 20.0f;
}

void Background(Canvas& c) {
    WalnutBackground(c, {0, 0, static_cast<float>(c.width), static_cast<float>(c.height)}, 3.0f,
                     61);
    const float m = 40.0f;
    Paint(
        c, m, m, static_cast<float>(c.width) - m, static_cast<float>(c.height) - m,
        [&](float x, float y) {
            return BoxDistance(x, y, m, m, static_cast<float>(c.width) - m,
                               static_cast<float>(c.height) - m, 10);
        },
        [&](float x, float y) {
            // Paper with a faint mottle, a little darker towards its edges.
            const float dx = (x / static_cast<float>(c.width) - 0.5f) * 2.0f;
            const float dy = (y / static_cast<float>(c.height) - 0.5f) * 2.0f;
            const float edge = 1.0f - 0.07f * (dx * dx + dy * dy);
            const float mottle = 1.0f + 0.025f * Fbm2(12, x / 90.0f, y / 90.0f, 4);
            return Scale(kPaper, edge * mottle);
        });
    // A thin inlaid line just inside the paper's edge.
    const float i = m + 16.0f;
    Fill(
        c, i - 3, i - 3, static_cast<float>(c.width) - i + 3, static_cast<float>(c.height) - i + 3,
        [&](float x, float y) {
            return std::abs(BoxDistance(x, y, i, i, static_cast<float>(c.width) - i,
                                        static_cast<float>(c.height) - i, 4)) -
                   1.5f;
        },
        Hex(0xB88A5A), 0.8f);
}

void SliderSketch(Canvas& c, const Fonts& f, float x, float y, float width) {
    Fill(
        c, x - 10, y - 10, x + width + 10, y + 10,
        [&](float px, float py) { return BoxDistance(px, py, x, y - 7, x + width, y + 7, 7); },
        Hex(0x5A3B22));
    const float knob = x + 0.7f * width;
    Paint(
        c, knob - 16, y - 22, knob + 16, y + 22,
        [&](float px, float py) {
            return BoxDistance(px, py, knob - 14, y - 20, knob + 14, y + 20, 6);
        },
        [&](float px, float) {
            const float t = std::abs(px - knob) / 14.0f;
            return Mix(Hex(0xFBE3A0), Hex(0x8A5F1E), std::clamp(t * t, 0.0f, 1.0f));
        });
    TextAt(c, f.caption.get(), "weak", x, y + 64, kBody);
    TextAt(c, f.caption.get(), "strong",
           x + width - static_cast<float>(TextWidth(f.caption.get(), "strong")), y + 64, kBody);
}

} // namespace

void MiniBoard(Canvas& c, float x0, float y0, float size, const int corners[4][2], bool light) {
    const float pitch = size / 6.6f;
    Fill(
        c, x0, y0 + 8, x0 + size, y0 + size + 8,
        [&](float x, float y) {
            return BoxDistance(x, y, x0, y0 + 8, x0 + size, y0 + size + 8, size * 0.04f);
        },
        Hex(0x000000), 0.35f, 8.0f);
    Fill(
        c, x0, y0, x0 + size, y0 + size,
        [&](float x, float y) {
            return BoxDistance(x, y, x0, y0, x0 + size, y0 + size, size * 0.04f);
        },
        Hex(0x6B3F22));
    const float inset = size * 0.03f;
    Paint(
        c, x0 + inset, y0 + inset, x0 + size - inset, y0 + size - inset,
        [&](float x, float y) {
            return BoxDistance(x, y, x0 + inset, y0 + inset, x0 + size - inset, y0 + size - inset,
                               size * 0.02f);
        },
        [&](float x, float y) {
            const float grain = Fbm2(44, x / size * 3.0f, y / size * 40.0f, 3);
            return Scale(Mix(Hex(0xE9B77C), Hex(0xCF9558), 0.5f + 0.5f * grain), 1.0f);
        });
    // Cell (i, j) with j upwards, as on the game's board; the grid counts from cell (1, 1).
    GridSquare grid;
    grid.first = {x0 + size * 0.5f - 2.5f * pitch, y0 + size * 0.5f + 2.5f * pitch};
    grid.stepX = pitch;
    grid.stepY = -pitch;
    grid.side = 6;
    grid.hollowRadius = pitch * 0.3f;
    grid.hollow = Hex(0x9C6236);
    grid.lineHalfWidth = 3.5f;
    grid.pieceRadius = pitch * 0.4f;
    grid.light = light;
    int fromZero[4][2];
    for (int k = 0; k < 4; ++k) {
        fromZero[k][0] = corners[k][0] - 1;
        fromZero[k][1] = corners[k][1] - 1;
    }
    DrawGridSquare(c, grid, fromZero);
}

Canvas HelpPage() {
    Canvas c = MakeCanvas(kDesignWidth, kDesignHeight);
    Background(c);
    const Fonts f;

    Emblem(c, 200, 175, 150);
    TextAt(c, f.title.get(), "Koravex", 315, 198, Hex(0x3A2414));
    TextAt(c, f.subtitle.get(), "How to play", 320, 262, kHeading);

    // Three columns: the rules, the controls, the panel.
    constexpr float kMargin = 115, kGap = 70;
    const float width = (static_cast<float>(kDesignWidth) - 2 * kMargin - 2 * kGap) / 3;
    const float columns[3] = {kMargin, kMargin + width + kGap, kMargin + 2 * (width + kGap)};
    constexpr float kTop = 330;

    float x = columns[0];
    float y = Heading(c, f, "The rules", x, kTop, width);
    y = Paragraph(c, f.body.get(),
                  "Two players take turns placing one piece each on an empty hollow of the "
                  "6 \xC3\x97 6 board. Once placed, a piece never moves.",
                  x, y, width, kBody) +
        22;
    y = Paragraph(c, f.body.get(),
                  "Whoever first holds all four corners of a square wins. A square may be of "
                  "any size, upright or tilted: there are 105 of them on the board.",
                  x, y, width, kBody) +
        22;
    y = Paragraph(c, f.body.get(),
                  "Player 1 plays the light pieces and Player 2 the dark ones. The four pieces "
                  "of the winning square glow red.",
                  x, y, width, kBody) +
        40;
    const int upright[4][2] = {{2, 2}, {5, 2}, {5, 5}, {2, 5}};
    const int tilted[4][2] = {{2, 1}, {5, 2}, {4, 5}, {1, 4}};
    const float board = 0.5f * (width - 50);
    MiniBoard(c, x, y, board, upright, true);
    MiniBoard(c, x + width - board, y, board, tilted, false);
    const float caption = y + board + 50;
    const auto centred = [&](const std::string& text, float cx) {
        TextAt(c, f.caption.get(), text,
               cx - 0.5f * static_cast<float>(TextWidth(f.caption.get(), text)), caption, kBody);
    };
    centred("An upright square", x + board / 2);
    centred("A tilted square", x + width - board / 2);

    x = columns[1];
    y = Heading(c, f, "Controls", x, kTop, width);
    y = Item(c, f, "Placing a piece",
             "On your turn, point at an empty hollow: a see-through piece shows where yours "
             "will go. Click the left mouse button to place it.",
             x, y, width);
    y = Item(c, f, "With the keys",
             "W A S D, or 8 4 2 6 on the keypad, move a framed cursor, W away from you. Enter "
             "or Space places your piece there.",
             x, y, width, {"Enter", "Space"});
    y = Item(c, f, "Turning the view",
             "Drag with the right mouse button held down, or use the arrow keys.", x, y, width);
    y = Item(c, f, "The panel",
             "Point at the right edge of the screen or at the Menu tab, or press Tab.", x, y, width,
             {"Tab"});
    Item(c, f, "Undo and hint",
         "Ctrl+Z or Backspace takes a move back; Ctrl+Y puts it back. Ctrl+H or ? shows the "
         "best move.",
         x, y, width, {"Ctrl+Z", "Ctrl+H"});

    x = columns[2];
    y = Heading(c, f, "On the panel", x, kTop, width);
    y = Item(c, f, "New game", "Clears the board and starts again.", x, y, width, {"N"});
    y = Item(c, f, "Player 1 and Player 2",
             "Click a player's picture, or press its key, to hand that seat to the computer, "
             "or back to a person.",
             x, y, width, {"F2", "F3"});
    y = Item(c, f, "Begins", "Tick the player who moves first in the next game.", x, y, width,
             {"B"});
    y = Item(c, f, "Strength",
             "Slide the knob towards strong for a sharper computer player, towards weak for a "
             "gentler one; the keys move it a step.",
             x, y, width, {"\xE2\x88\x92", "+"});
    SliderSketch(c, f, x + 40, y + 20, width - 80);
    Item(c, f, "Help and Exit", "Show this page, or quit the game: Esc twice during a game.", x,
         y + 140, width, {"F1", "H", "Esc"});

    const std::string footer = "Click anywhere or press a key to return to the game";
    TextAt(c, f.lead.get(), footer,
           0.5f * (static_cast<float>(kDesignWidth) -
                   static_cast<float>(TextWidth(f.lead.get(), footer))),
           static_cast<float>(kDesignHeight) - 92, kHeading);
    // Every row of the design kept: on a screen 2160 high the page is 2160 pixels high.
    return Resample(c, 2048, 2048);
}

} // namespace assetgen
