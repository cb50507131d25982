#include "tools/assetgen/panel.h"

#include <cstdio>

#include "game/panel_layout.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/ui.h"

namespace assetgen {

namespace {

namespace layout = game::panel;

constexpr float kScale = 4.0f; // design pixels per panel unit
// Pixels of the design as first drawn, at 2 pixels a unit: the hairlines keep their width.
constexpr float kPx = kScale / 2.0f;
// The closed panel shows its left 5 units: the key caps by its sides keep 2 more clear.
constexpr float kKeyInset = 7.0f;

float Px(float x) {
    return x * kScale;
}
float Py(float y) {
    return (static_cast<float>(layout::kHeight) - y) * kScale;
}

Box ToCanvas(const layout::Rect& r) {
    return {Px(r.x1), Py(r.y2), Px(r.x2), Py(r.y1)};
}

PanelItem ToUnits(const std::string& kind, const std::string& name, const Box& b) {
    return {kind,          name,
            b.x0 / kScale, static_cast<float>(layout::kHeight) - b.y1 / kScale,
            b.x1 / kScale, static_cast<float>(layout::kHeight) - b.y0 / kScale};
}

PanelItem ToUnits(const std::string& kind, const std::string& name, const layout::Rect& r) {
    return {kind,
            name,
            static_cast<float>(r.x1),
            static_cast<float>(r.y1),
            static_cast<float>(r.x2),
            static_cast<float>(r.y2)};
}

// An engraved line across the panel.
void Divider(Canvas& c, float y) {
    const float x0 = Px(14), x1 = Px(186);
    Fill(
        c, x0, Py(y) - kPx, x1, Py(y) + kPx,
        [&](float x, float py) { return SegmentDistance(x, py, x0, Py(y), x1, Py(y), 0.9f * kPx); },
        Hex(0x140B05), 0.8f);
    Fill(
        c, x0, Py(y) + kPx, x1, Py(y) + 3 * kPx,
        [&](float x, float py) {
            return SegmentDistance(x, py, x0, Py(y) + 2 * kPx, x1, Py(y) + 2 * kPx, 0.7f * kPx);
        },
        Hex(0x7A5234), 0.6f);
}

void Button(Canvas& c, std::vector<PanelItem>& items, _TTF_Font* font, const std::string& name,
            const std::string& text, const layout::Rect& r) {
    const Box b = ToCanvas(r);
    RaisedFace(c, b, 12.0f * kScale, kScale);
    items.push_back(ToUnits("button", name, r));
    const Box ink =
        CentredText(c, font, text, 0.5f * (b.x0 + b.x1), 0.5f * (b.y0 + b.y1), colours::kInk);
    items.push_back(ToUnits("label", name, ink));
}

// The key that acts as a control, centred on (x, y) in panel units.
void Key(Canvas& c, std::vector<PanelItem>& items, _TTF_Font* font, const std::string& control,
         const std::string& key, float x, float y) {
    items.push_back(ToUnits("key", control, KeyCap(c, font, key, Px(x), Py(y), kScale)));
}

// A key cap's half width in panel units, measured where nothing shows.
float KeyHalfWidth(_TTF_Font* font, const std::string& key) {
    Canvas scratch = MakeCanvas(1, 1);
    const Box cap = KeyCap(scratch, font, key, 0, 0, kScale);
    return 0.5f * (cap.x1 - cap.x0) / kScale;
}

// Under a button's label: the keys that press it.
void ButtonKeys(Canvas& c, std::vector<PanelItem>& items, _TTF_Font* font,
                const std::string& control, const std::vector<std::string>& keys,
                const layout::Rect& r) {
    constexpr float kGap = 4.0f;
    std::vector<float> widths;
    float total = -kGap;
    for (const std::string& key : keys) {
        widths.push_back(2 * KeyHalfWidth(font, key));
        total += widths.back() + kGap;
    }
    float x = 0.5f * static_cast<float>(r.x1 + r.x2) - 0.5f * total;
    const float y = 0.5f * static_cast<float>(r.y1 + r.y2) - 24.0f;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        Key(c, items, font, control, keys[k], x + 0.5f * widths[k], y);
        x += widths[k] + kGap;
    }
}

void ButtonWell(Canvas& c, const layout::Rect& r) {
    Box b = ToCanvas(r);
    b = {b.x0 - 3 * kScale, b.y0 - 3 * kScale, b.x1 + 3 * kScale, b.y1 + 3 * kScale};
    Well(c, b, 6.0f * kScale, kScale);
}

} // namespace

PanelPicture Panel() {
    Canvas c = MakeCanvas(static_cast<int>(Px(layout::kWidth)), static_cast<int>(Py(0)));
    WalnutBackground(c, {0, 0, static_cast<float>(c.width), static_cast<float>(c.height)}, kScale,
                     77);
    // Light falls from the top: the panel darkens towards its foot, and its left edge,
    // which slides over the scene, is a rounded lip.
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const float fx = static_cast<float>(x) / kScale;
            const float shade = 1.05f - 0.2f * static_cast<float>(y) / static_cast<float>(c.height);
            float lip = 1.0f;
            if (fx < 2.0f)
                lip = 1.5f - 0.25f * fx;
            else if (fx < 5.0f)
                lip = 0.8f + 0.2f * SmoothStep(2.0f, 5.0f, fx);
            At(c, x, y) = Scale(At(c, x, y), shade * lip);
        }

    std::vector<PanelItem> items;
    const auto size = [](int pixels) { return static_cast<int>(static_cast<float>(pixels) * kPx); };
    const Font buttonFont = OpenFont(Weight::Bold, size(30));
    const Font headingFont = OpenFont(Weight::Bold, size(26));
    const Font markFont = OpenFont(Weight::Regular, size(24));
    const Font keyFont = OpenFont(Weight::Bold, size(24));
    _TTF_Font* const keys = keyFont.get();

    Button(c, items, buttonFont.get(), "newgame", "New game", layout::kNewGame);
    ButtonKeys(c, items, keys, "newgame", {"N"}, layout::kNewGame);

    Divider(c, 624);
    const float seatHeading = 578.0f;
    for (int p = 0; p < 2; ++p) {
        const layout::Rect& seat = p == 0 ? layout::kSeat1 : layout::kSeat2;
        const float centre = 0.5f * static_cast<float>(seat.x1 + seat.x2);
        const std::string text = p == 0 ? "Player 1" : "Player 2";
        // A piece of the player's colour before the name, the pair centred on the column.
        const float disc = 6.0f, gap = 3.0f;
        const float width = static_cast<float>(TextWidth(headingFont.get(), text)) / kScale;
        const float left = centre - 0.5f * (2 * disc + gap + width);
        PieceDisc(c, Px(left + disc), Py(seatHeading), disc * kScale, p == 0);
        items.push_back(ToUnits(
            "heading", p == 0 ? "player1" : "player2",
            Box{Px(left), Py(seatHeading + disc), Px(left + 2 * disc), Py(seatHeading - disc)}));
        const Box ink =
            CentredText(c, headingFont.get(), text, Px(left + 2 * disc + gap + 0.5f * width),
                        Py(seatHeading), colours::kCream, true);
        items.push_back(ToUnits("heading", p == 0 ? "player1" : "player2", ink));
        ButtonWell(c, seat);
        // Beside the seat, on the panel's outer side, clear of the edge that shows when the
        // panel is closed.
        const float half = KeyHalfWidth(keys, p == 0 ? "F2" : "F3");
        const float keyX = p == 0 ? kKeyInset + half : layout::kWidth - kKeyInset - half;
        Key(c, items, keys, p == 0 ? "seat1" : "seat2", p == 0 ? "F2" : "F3", keyX,
            0.5f * static_cast<float>(seat.y1 + seat.y2));
    }

    const Box begins =
        CentredText(c, headingFont.get(), "Begins", Px(100), Py(481), colours::kCream, true);
    items.push_back(ToUnits("heading", "begins", begins));
    ButtonWell(c, layout::kBegins1);
    ButtonWell(c, layout::kBegins2);
    // One key switches between the two.
    Key(c, items, keys, "begins", "B",
        0.5f * static_cast<float>(layout::kBegins1.x2 + layout::kBegins2.x1),
        0.5f * static_cast<float>(layout::kBegins1.y1 + layout::kBegins1.y2));

    Divider(c, 378);
    const Box strength =
        CentredText(c, headingFont.get(), "Strength", Px(100), Py(340), colours::kCream, true);
    items.push_back(ToUnits("heading", "strength", strength));
    Key(c, items, keys, "strength", "\xE2\x88\x92", 25, 340);
    Key(c, items, keys, "strength", "+", 175, 340);
    // The track: a groove the knob slides in, with a tick every quarter.
    const float mid = 0.5f * static_cast<float>(layout::kTrackY1 + layout::kTrackY2);
    const float x0 = static_cast<float>(layout::kTrackX0);
    const float x1 = x0 + static_cast<float>(layout::kTrackLength);
    Fill(
        c, Px(x0 - 4), Py(mid + 4), Px(x1 + 4), Py(mid - 4),
        [&](float x, float y) {
            return BoxDistance(x, y, Px(x0 - 3), Py(mid + 3), Px(x1 + 3), Py(mid - 3), 3 * kScale);
        },
        colours::kWell);
    Fill(
        c, Px(x0 - 3), Py(mid - 3), Px(x1 + 3), Py(mid - 4),
        [&](float x, float y) {
            return SegmentDistance(x, y, Px(x0), Py(mid - 3.3f), Px(x1), Py(mid - 3.3f),
                                   0.8f * kPx);
        },
        Hex(0x8A6242), 0.7f);
    for (int q = 0; q <= 4; ++q) {
        const float tx =
            x0 + static_cast<float>(layout::kTrackLength) * static_cast<float>(q) / 4.0f;
        const float top = static_cast<float>(layout::kTrackY1) - 3.0f;
        const float bottom = top - (q % 2 == 0 ? 7.0f : 4.5f);
        Fill(
            c, Px(tx) - 3 * kPx, Py(top) - kPx, Px(tx) + 3 * kPx, Py(bottom) + kPx,
            [&](float x, float y) {
                return SegmentDistance(x, y, Px(tx), Py(top), Px(tx), Py(bottom), 0.9f * kScale);
            },
            colours::kCream, 0.8f);
    }
    const float markY = 274.0f;
    const Box weak = CentredText(c, markFont.get(), "weak", Px(x0 + 8), Py(markY), colours::kCream);
    items.push_back(ToUnits("mark", "weak", weak));
    const Box strong =
        CentredText(c, markFont.get(), "strong", Px(x1 - 12), Py(markY), colours::kCream);
    items.push_back(ToUnits("mark", "strong", strong));

    Divider(c, 252);
    Button(c, items, buttonFont.get(), "help", "Help", layout::kHelp);
    ButtonKeys(c, items, keys, "help", {"F1", "H"}, layout::kHelp);
    Button(c, items, buttonFont.get(), "exit", "Exit", layout::kExit);
    ButtonKeys(c, items, keys, "exit", {"Esc"}, layout::kExit);

    // The panel's own key, in the strip below the last button.
    const Box tab = KeyCap(c, keys, "Tab", Px(40), Py(12), kScale);
    items.push_back(ToUnits("key", "panel", tab));
    const Box hides =
        CentredText(c, markFont.get(), "shows or hides this", Px(120), Py(12), colours::kCream);
    items.push_back(ToUnits("mark", "panel", hides));

    PanelPicture out;
    out.picture = Resample(c, 512, 2048);
    out.layout = std::move(items);
    return out;
}

std::string LayoutText(const std::vector<PanelItem>& layout) {
    std::string text = "# kind name x1 y1 x2 y2, in panel units from the bottom-left corner\n";
    for (const PanelItem& item : layout) {
        char line[160];
        std::snprintf(line, sizeof line, "%s %s %.2f %.2f %.2f %.2f\n", item.kind.c_str(),
                      item.name.c_str(), static_cast<double>(item.x1), static_cast<double>(item.y1),
                      static_cast<double>(item.x2), static_cast<double>(item.y2));
        text += line;
    }
    return text;
}

} // namespace assetgen
