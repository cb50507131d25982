// The panel picture's layout, as the generator drew it, against the rectangles the frame
// update tests clicks with.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/panel_layout.h"
#include "look_files.h"

namespace {

namespace layout = game::panel;

struct Item {
    std::string kind, name;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

std::vector<Item> ReadLayout() {
    std::ifstream in(kxtest::AssetPath("panel_layout.txt"));
    EXPECT_TRUE(in.good());
    std::vector<Item> items;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Item item;
        fields >> item.kind >> item.name >> item.x1 >> item.y1 >> item.x2 >> item.y2;
        EXPECT_FALSE(fields.fail()) << line;
        items.push_back(item);
    }
    return items;
}

struct Named {
    std::string name;
    layout::Rect rect;
};

const std::vector<Named>& Buttons() {
    static const std::vector<Named> buttons{
        {"newgame", layout::kNewGame}, {"help", layout::kHelp}, {"exit", layout::kExit}};
    return buttons;
}

// Every place a click does something, the strength track with the knob at either end included.
std::vector<layout::Rect> HitAreas() {
    const int knobLeft = layout::kTrackX0 - layout::kKnobHalfWidth;
    const int knobRight = layout::kTrackX0 + layout::kTrackLength + layout::kKnobHalfWidth;
    return {layout::kExit,    layout::kHelp,
            layout::kNewGame, layout::kSeat1,
            layout::kSeat2,   layout::kBegins1,
            layout::kBegins2, {knobLeft, layout::kTrackY1, knobRight, layout::kTrackY2}};
}

bool Inside(const Item& i, const layout::Rect& r, double margin) {
    return i.x1 >= r.x1 + margin && i.x2 <= r.x2 - margin && i.y1 >= r.y1 + margin &&
           i.y2 <= r.y2 - margin;
}

bool Overlaps(const Item& i, const layout::Rect& r) {
    return i.x1 < r.x2 && i.x2 > r.x1 && i.y1 < r.y2 && i.y2 > r.y1;
}

std::vector<Item> Of(const std::vector<Item>& items, const std::string& kind,
                     const std::string& name) {
    std::vector<Item> out;
    std::copy_if(items.begin(), items.end(), std::back_inserter(out),
                 [&](const Item& i) { return i.kind == kind && i.name == name; });
    return out;
}

TEST(PanelLayout, ButtonFramesAreTheHitRectangles) {
    const std::vector<Item> items = ReadLayout();
    for (const Named& b : Buttons()) {
        const std::vector<Item> frames = Of(items, "button", b.name);
        ASSERT_EQ(frames.size(), 1u) << b.name;
        EXPECT_EQ(frames[0].x1, b.rect.x1) << b.name;
        EXPECT_EQ(frames[0].y1, b.rect.y1) << b.name;
        EXPECT_EQ(frames[0].x2, b.rect.x2) << b.name;
        EXPECT_EQ(frames[0].y2, b.rect.y2) << b.name;
    }
}

TEST(PanelLayout, EachButtonLabelSitsWellInsideItsButton) {
    const std::vector<Item> items = ReadLayout();
    for (const Named& b : Buttons()) {
        const std::vector<Item> labels = Of(items, "label", b.name);
        ASSERT_EQ(labels.size(), 1u) << b.name;
        const Item& label = labels[0];
        EXPECT_TRUE(Inside(label, b.rect, 6.0)) << b.name;
        // Big enough to read at 1024 x 768, where a unit is a pixel.
        EXPECT_GE(label.y2 - label.y1, 9.0) << b.name;
        // Centred on the button, give or take a little.
        EXPECT_NEAR((label.x1 + label.x2) / 2, (b.rect.x1 + b.rect.x2) / 2.0, 3.0) << b.name;
        EXPECT_NEAR((label.y1 + label.y2) / 2, (b.rect.y1 + b.rect.y2) / 2.0, 4.0) << b.name;
    }
}

TEST(PanelLayout, HeadingsAndMarksStayOnThePanelAndOffEveryControl) {
    const std::vector<Item> items = ReadLayout();
    int texts = 0;
    for (const Item& i : items) {
        if (i.kind != "heading" && i.kind != "mark") continue;
        ++texts;
        EXPECT_TRUE(Inside(i, {0, 0, layout::kWidth, layout::kHeight}, 2.0)) << i.name;
        for (const layout::Rect& r : HitAreas())
            EXPECT_FALSE(Overlaps(i, r))
                << i.name << " covers a control at " << r.x1 << "," << r.y1;
    }
    EXPECT_GE(texts, 6);
}

TEST(PanelLayout, HeadingsNameTheControlsBelowThem) {
    const std::vector<Item> items = ReadLayout();
    const auto over = [&](const std::string& name, const layout::Rect& below, int ceiling) {
        const std::vector<Item> parts = Of(items, "heading", name);
        ASSERT_FALSE(parts.empty()) << name;
        for (const Item& i : parts) {
            EXPECT_GT(i.y1, below.y2) << name;
            EXPECT_LT(i.y2, ceiling) << name;
        }
        const double left = parts.front().x1, right = parts.back().x2;
        EXPECT_NEAR((left + right) / 2, (below.x1 + below.x2) / 2.0, 8.0) << name;
    };
    over("player1", layout::kSeat1, layout::kNewGame.y1);
    over("player2", layout::kSeat2, layout::kNewGame.y1);
    // "Begins" heads the pair of buttons between the two columns.
    over("begins",
         {layout::kBegins1.x1, layout::kBegins1.y1, layout::kBegins2.x2, layout::kBegins2.y2},
         layout::kSeat1.y1);
    over("strength",
         {layout::kTrackX0, layout::kTrackY1, layout::kTrackX0 + layout::kTrackLength,
          layout::kTrackY2},
         layout::kBegins1.y1);
    // The two ends of the track are marked under them.
    const std::vector<Item> weak = Of(items, "mark", "weak");
    const std::vector<Item> strong = Of(items, "mark", "strong");
    ASSERT_EQ(weak.size(), 1u);
    ASSERT_EQ(strong.size(), 1u);
    EXPECT_LT(weak[0].y2, layout::kTrackY1);
    EXPECT_LT(strong[0].y2, layout::kTrackY1);
    EXPECT_LT(std::abs(weak[0].x1 - layout::kTrackX0), 15.0);
    EXPECT_LT(std::abs(strong[0].x2 - (layout::kTrackX0 + layout::kTrackLength)), 15.0);
    EXPECT_LT(weak[0].x2, strong[0].x1);
}

// Each control shows the keys that act as it: inside a button, or clear of every control.
TEST(PanelLayout, EveryControlShowsItsKeys) {
    const std::vector<Item> items = ReadLayout();
    const std::pair<std::string, std::size_t> keys[] = {
        {"newgame", 1}, {"help", 2},   {"exit", 1},     {"seat1", 1},
        {"seat2", 1},   {"begins", 1}, {"strength", 2}, {"panel", 1}};
    for (const auto& [name, count] : keys) {
        const std::vector<Item> caps = Of(items, "key", name);
        EXPECT_EQ(caps.size(), count) << name;
        for (const Item& cap : caps) {
            EXPECT_TRUE(Inside(cap, {0, 0, layout::kWidth, layout::kHeight}, 4.0)) << name;
            for (const Named& b : Buttons())
                if (b.name == name) {
                    EXPECT_TRUE(Inside(cap, b.rect, 4.0)) << name;
                }
            if (name == "newgame" || name == "help" || name == "exit") continue;
            for (const layout::Rect& r : HitAreas())
                EXPECT_FALSE(Overlaps(cap, r)) << name << " covers a control at " << r.x1;
        }
    }
}

} // namespace
