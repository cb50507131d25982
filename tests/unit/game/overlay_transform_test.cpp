// The overlay on screens of every shape: its controls keep their proportions and are hit
// where they are drawn, and at 4:3 everything lies where it did when the virtual screen was
// stretched over the window.
#include "game/draw.h"
#include "game/overlay_transform.h"
#include "game/panel.h"
#include "tests/support/game/frame_fixture.h"

namespace {

struct Screen {
    int width, height;
};

constexpr Screen kScreens[] = {{1024, 768}, {2560, 1080}, {1080, 1920}, {800, 600}, {3840, 2160}};

// WindowToCorner backwards: a point of the panel's virtual screen (its top-right corner at
// 1024, 768) in window pixels.
game::VirtualPoint CornerToWindowPoint(double x, double y, int width, int height) {
    const double scale = game::OverlayScale(width, height);
    return {width - (1024 - x) * scale, height - (768 - y) * scale};
}

TEST(OverlayTransform, At4To3ItIsTheOldStretch) {
    for (const Screen s : {Screen{1024, 768}, Screen{800, 600}, Screen{1600, 1200}}) {
        const render::ScreenRect r{100, 200, 823, 767};
        for (const render::ScreenRect& drawn : {game::CornerToWindow(r, s.width, s.height),
                                                game::PageToWindow(r, s.width, s.height)}) {
            EXPECT_DOUBLE_EQ(drawn.x1, 100.0 * s.width / 1023);
            EXPECT_DOUBLE_EQ(drawn.y2, 767.0 * s.height / 767);
            EXPECT_NEAR(drawn.y1, 200.0 * s.height / 767, 1e-9);
        }
        const game::VirtualPoint p =
            game::WindowToCorner(s.width / 4.0, s.height / 2.0, s.width, s.height);
        EXPECT_DOUBLE_EQ(p.x, 256);
        EXPECT_DOUBLE_EQ(p.y, 384);
    }
}

// Each control of the open panel, projected to pixels as drawn and read back as the pointer
// is: its centre and a point just inside each corner hit it, and it keeps its shape.
TEST(OverlayTransform, ControlsAreHitWhereTheyAreDrawnOnEveryShape) {
    const int left = 1024 - 200;
    for (const Screen s : kScreens) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        for (const game::panel::Rect& rect : {game::panel::kNewGame, game::panel::kExit,
                                              game::panel::kSeat2, game::panel::kBegins1}) {
            const render::ScreenRect tested = game::PanelRect(rect, left);
            const render::ScreenRect drawn =
                game::CornerToWindow(game::PanelRect(rect, left - 1), s.width, s.height);
            EXPECT_NEAR((drawn.x2 - drawn.x1) / (drawn.y2 - drawn.y1),
                        double(rect.x2 - rect.x1) / (rect.y2 - rect.y1), 0.02);
            // Drawn one unit left of where it is tested: a unit and a pixel in from the edges.
            const double inset = game::OverlayScale(s.width, s.height) + 1;
            for (const auto& [x, y] :
                 {std::pair{0.5 * (drawn.x1 + drawn.x2), 0.5 * (drawn.y1 + drawn.y2)},
                  {drawn.x1 + inset, drawn.y1 + inset},
                  {drawn.x2 - inset, drawn.y2 - inset},
                  {drawn.x1 + inset, drawn.y2 - inset},
                  {drawn.x2 - inset, drawn.y1 + inset}}) {
                const game::VirtualPoint p = game::WindowToCorner(x, y, s.width, s.height);
                EXPECT_TRUE(game::PointInRect(p.x, p.y, tested.x1, tested.y1, tested.x2, tested.y2))
                    << "pixel " << x << ", " << y << " -> " << p.x << ", " << p.y;
                const game::VirtualPoint back = CornerToWindowPoint(p.x, p.y, s.width, s.height);
                EXPECT_NEAR(back.x, x, 1e-6);
                EXPECT_NEAR(back.y, y, 1e-6);
            }
        }
        // The panel and the tab keep to the top-right corner; the help page to the middle.
        const render::ScreenRect tab =
            game::CornerToWindow({980, 710, 1023, 767}, s.width, s.height);
        EXPECT_DOUBLE_EQ(tab.x2, s.width);
        EXPECT_DOUBLE_EQ(tab.y2, s.height);
        const render::ScreenRect page = game::PageToWindow({0, 0, 1023, 767}, s.width, s.height);
        EXPECT_NEAR(page.x1, s.width - page.x2, 1e-6);
        EXPECT_NEAR(page.y1, s.height - page.y2, 1e-6);
        EXPECT_NEAR((page.x2 - page.x1) / (page.y2 - page.y1), 4.0 / 3.0, 0.01);
    }
}

// Through the frame update: on a 21:9 and a 9:16 screen the pointer on the drawn tab opens
// the panel, the right-most pixel keeps it open, and a click on the drawn New game button acts.
TEST_F(FrameTest, OnWideAndTallScreensTheTabEdgeAndButtonsActWhereDrawn) {
    for (const Screen s : {Screen{2560, 1080}, Screen{1080, 1920}}) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        platform::state.ScreenWidth = s.width;
        platform::state.ScreenHeight = s.height;
        render::state.ViewportWidth = s.width;
        render::state.ViewportHeight = s.height;
        game::state.MenuOffset = 5;
        const auto pointAtPixel = [&](double x, double y) {
            pt::Double().cursorX = static_cast<int>(x);
            pt::Double().cursorY = s.height - static_cast<int>(y);
        };
        const render::ScreenRect tab =
            game::CornerToWindow({980, 710, 1023, 767}, s.width, s.height);
        pointAtPixel(0.5 * (tab.x1 + tab.x2), 0.5 * (tab.y1 + tab.y2));
        Update();
        Update(300);
        EXPECT_EQ(game::state.MenuOffset, 200);
        pointAtPixel(s.width - 1, s.height / 3.0);
        Update();
        EXPECT_EQ(game::state.MenuOffset, 200);

        rules::BoardAt(3, 3) = 1;
        const render::ScreenRect button = game::CornerToWindow(
            game::PanelRect(game::panel::kNewGame, 1023 - 200), s.width, s.height);
        const double unit = game::OverlayScale(s.width, s.height);
        pointAtPixel(button.x1 + unit + 1, button.y2 - unit - 1);
        PressLeftFor(40);
        Update();
        EXPECT_EQ(rules::BoardAt(3, 3), 0) << "the click on New game did not start a new game";
        pt::Double().left = false;
    }
}

} // namespace
