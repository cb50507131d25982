#include "game/state.h"
#include "render/view.h"
#include "scene_fixture.h"

namespace {

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kCyan{0, 255, 255},
    kYellow{255, 255, 0}, kMagenta{255, 0, 255}, kMark{128, 0, 0}, kEmpty{0, 0, 128};

TEST_F(SceneTest, ClosedPanelCoversTheRightEndOfTheTab) {
    game::MenuOffset = 5; // panel drawn from 1018
    Draw();
    EXPECT_EQ(Pixel(1000, 740), kRed);
    EXPECT_EQ(Pixel(1017, 740), kRed);
    EXPECT_EQ(Pixel(1018, 740), kGreen);
    EXPECT_EQ(Pixel(1020, 740), kGreen);
    EXPECT_EQ(Pixel(1020, 100), kGreen);
    EXPECT_NE(Pixel(1000, 100), kGreen);
}

TEST_F(SceneTest, OpenPanelShowsItsButtonsAndKnob) {
    game::MenuOffset = 200; // panel drawn from 823
    rules::SeatIsComputer = {false, false, true};
    rules::FirstPlayer = 1;
    game::StrengthSlider = 50.0;
    Draw();
    EXPECT_EQ(Pixel(900, 740), kGreen); // over the tab
    EXPECT_EQ(Pixel(823 + 55, 528), kYellow);
    EXPECT_EQ(Pixel(823 + 145, 528), kCyan);
    EXPECT_EQ(Pixel(823 + 55, 433), kMark);
    EXPECT_EQ(Pixel(823 + 145, 433), kEmpty);
    EXPECT_EQ(Pixel(823 + 99, 302), kMagenta);
    EXPECT_EQ(Pixel(823 + 92, 302), kGreen);

    rules::SeatIsComputer = {false, true, false};
    rules::FirstPlayer = 2;
    game::StrengthSlider = 0.0;
    Draw();
    EXPECT_EQ(Pixel(823 + 55, 528), kCyan);
    EXPECT_EQ(Pixel(823 + 145, 528), kYellow);
    EXPECT_EQ(Pixel(823 + 55, 433), kEmpty);
    EXPECT_EQ(Pixel(823 + 145, 433), kMark);
    EXPECT_EQ(Pixel(823 + 18, 302), kMagenta);
    EXPECT_EQ(Pixel(823 + 99, 302), kGreen);
}

TEST_F(SceneTest, HelpCoversEverything) {
    game::MenuOffset = 200;
    rules::BoardAt(3, 3) = 1;
    game::HelpShown = true;
    Draw();
    for (const auto& [x, y] :
         {std::pair{1000, 740}, {823 + 55, 528}, {823 + 99, 302}, {511, 383}, {0, 0}, {1022, 766}})
        EXPECT_EQ(Pixel(x, y), kBlue) << x << "," << y;
}

TEST_F(SceneTest, OverlayKeepsItsShapeOnAWideViewport) {
    render::ResizeScene(512, 300);
    game::MenuOffset = 200;
    Draw();
    // Scaled by the height (300 / 768 pixels a unit), the panel's 200 units are 78 pixels
    // against the right edge, all the way up.
    EXPECT_EQ(Pixel(511, 150), kGreen);
    EXPECT_EQ(Pixel(436, 150), kGreen);
    EXPECT_NE(Pixel(431, 150), kGreen);
    EXPECT_EQ(Pixel(450, 299), kGreen);
    EXPECT_EQ(Pixel(450, 0), kGreen);

    // The help page keeps 4:3 in the middle: 400 x 300 pixels from x = 56.
    game::HelpShown = true;
    Draw();
    EXPECT_EQ(Pixel(256, 150), kBlue);
    EXPECT_EQ(Pixel(58, 150), kBlue);
    EXPECT_EQ(Pixel(453, 150), kBlue);
    EXPECT_NE(Pixel(53, 150), kBlue);
    EXPECT_NE(Pixel(459, 150), kBlue);
}

TEST_F(SceneTest, SlotsWithoutAPictureDrawPlainWhite) {
    engine::EngineReset(); // as after an engine error report
    game::TexMenu = -1;
    game::TexMenuMark = 99;
    game::MenuOffset = 200;
    Draw();
    EXPECT_EQ(Pixel(900, 100), (Rgb{255, 255, 255}));
    EXPECT_EQ(Pixel(1000, 740), (Rgb{255, 255, 255}));
}

} // namespace
