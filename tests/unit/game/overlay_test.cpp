#include "game/state.h"
#include "render/view.h"
#include "scene_fixture.h"

namespace {

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kCyan{0, 255, 255},
    kYellow{255, 255, 0}, kMagenta{255, 0, 255}, kMark{128, 0, 0}, kEmpty{0, 0, 128};

TEST_F(SceneTest, ClosedPanelCoversTheRightEndOfTheTab) {
    game::state.MenuOffset = 5; // panel drawn from 1018
    Draw();
    ExpectPixels({{1000, 740, kRed},
                  {1017, 740, kRed},
                  {1018, 740, kGreen},
                  {1020, 740, kGreen},
                  {1020, 100, kGreen}});
    EXPECT_NE(Pixel(1000, 100), kGreen);
}

TEST_F(SceneTest, OpenPanelShowsItsButtonsAndKnob) {
    game::state.MenuOffset = 200; // panel drawn from 823
    rules::state.SeatIsComputer = {false, false, true};
    rules::state.FirstPlayer = 1;
    game::state.StrengthSlider = 50.0;
    Draw();
    EXPECT_EQ(Pixel(900, 740), kGreen); // over the tab
    // The seat buttons, the first player's buttons, and the knob with the panel just beside it.
    const auto expectControls = [](Rgb seat1, Rgb seat2, Rgb first1, Rgb first2, int knob,
                                   int beside) {
        ExpectPixels({{823 + 55, 528, seat1},
                      {823 + 145, 528, seat2},
                      {823 + 55, 433, first1},
                      {823 + 145, 433, first2},
                      {823 + knob, 302, kMagenta},
                      {823 + beside, 302, kGreen}});
    };
    expectControls(kYellow, kCyan, kMark, kEmpty, 99, 92);

    rules::state.SeatIsComputer = {false, true, false};
    rules::state.FirstPlayer = 2;
    game::state.StrengthSlider = 0.0;
    Draw();
    expectControls(kCyan, kYellow, kEmpty, kMark, 18, 99);
}

TEST_F(SceneTest, HelpCoversEverything) {
    game::state.MenuOffset = 200;
    rules::BoardAt(3, 3) = 1;
    game::state.HelpShown = true;
    Draw();
    for (const auto& [x, y] :
         {std::pair{1000, 740}, {823 + 55, 528}, {823 + 99, 302}, {511, 383}, {0, 0}, {1022, 766}})
        EXPECT_EQ(Pixel(x, y), kBlue) << x << "," << y;
}

TEST_F(SceneTest, OverlayKeepsItsShapeOnAWideViewport) {
    render::ResizeScene(512, 300);
    game::state.MenuOffset = 200;
    Draw();
    // Scaled by the height (300 / 768 pixels a unit), the panel's 200 units are 78 pixels
    // against the right edge, all the way up.
    ExpectPixels({{511, 150, kGreen}, {436, 150, kGreen}, {450, 299, kGreen}, {450, 0, kGreen}});
    EXPECT_NE(Pixel(431, 150), kGreen);

    // The help page keeps 4:3 in the middle: 400 x 300 pixels from x = 56.
    game::state.HelpShown = true;
    Draw();
    ExpectPixels({{256, 150, kBlue}, {58, 150, kBlue}, {453, 150, kBlue}});
    EXPECT_NE(Pixel(53, 150), kBlue);
    EXPECT_NE(Pixel(459, 150), kBlue);
}

TEST_F(SceneTest, SlotsWithoutAPictureDrawPlainWhite) {
    engine::EngineReset(); // as after an engine error report
    game::state.TexMenu = -1;
    game::state.TexMenuMark = 99;
    game::state.MenuOffset = 200;
    Draw();
    EXPECT_EQ(Pixel(900, 100), (Rgb{255, 255, 255}));
    EXPECT_EQ(Pixel(1000, 740), (Rgb{255, 255, 255}));
}

} // namespace
