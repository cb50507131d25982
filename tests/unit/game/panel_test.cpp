#include "base/way_out.h"
#include "game/panel.h"
#include "game/state.h"
#include "tests/support/game/frame_fixture.h"

namespace {

using game::UpdateFrame;

// With the panel fully open its left edge is at 1024 - 200.
constexpr int kLeft = 824;

TEST_F(FrameTest, PanelOpensOnTheTabAndClosesAtOneUnitPerMillisecond) {
    PointAt(1000, 740);
    Update(); // the first update counts 1 ms
    EXPECT_EQ(game::state.MenuOffset, 6);
    Update(100);
    EXPECT_EQ(game::state.MenuOffset, 106);
    Update(94);
    EXPECT_EQ(game::state.MenuOffset, 200);
    Update(50);
    EXPECT_EQ(game::state.MenuOffset, 200);

    // Anywhere right of the panel's left edge keeps it open; the edge itself does not.
    PointAt(kLeft + 1, 10);
    Update(30);
    EXPECT_EQ(game::state.MenuOffset, 200);
    PointAt(kLeft, 10);
    Update(30);
    EXPECT_EQ(game::state.MenuOffset, 170);
    PointAt(500, 400);
    Update(100);
    EXPECT_EQ(game::state.MenuOffset, 70);
    Update(100);
    EXPECT_EQ(game::state.MenuOffset, 5);
}

TEST_F(FrameTest, ThePanelZoneStartsRightOfTheEdgeAndTakesTheTabWithItsEdges) {
    for (const int offset : {5, 6, 100, 199, 200}) {
        game::state.MenuOffset = offset;
        const int edge = 1024 - offset;
        game::state.PointerY = 300;
        game::state.PointerX = edge;
        EXPECT_FALSE(game::PointerInPanelZone()) << "on the edge, offset " << offset;
        game::state.PointerX = edge + 1;
        EXPECT_TRUE(game::PointerInPanelZone()) << "right of the edge, offset " << offset;
    }
    // The tab counts with its edges, whatever the panel's offset.
    game::state.MenuOffset = 5;
    const std::pair<std::pair<int, int>, bool> points[] = {
        {{980, 710}, true},  {{980, 768}, true},   {{1019, 710}, true},  {{1000, 740}, true},
        {{979, 740}, false}, {{1000, 709}, false}, {{1000, 769}, false}, {{979, 709}, false},
    };
    for (const auto& [point, inside] : points) {
        game::state.PointerX = point.first;
        game::state.PointerY = point.second;
        EXPECT_EQ(game::PointerInPanelZone(), inside) << point.first << ", " << point.second;
    }
}

struct Control {
    const char* name;
    int x, y; // a point inside the control with the panel fully open
};

class EachControl : public FrameTest, public ::testing::WithParamInterface<Control> {};

// Each of these acts once per press, however long the button is held.
TEST_P(EachControl, ActsOnceThroughItsWaitForRelease) {
    rules::state.SeatIsComputer = {false, false, false};
    rules::state.FirstPlayer = 1;
    rules::BoardAt(2, 2) = 1;
    Update();
    OpenPanel();
    Update();
    const std::array<bool, 3> seats = rules::state.SeatIsComputer;

    PointAt(GetParam().x, GetParam().y);
    PressLeftFor(40);
    Update();
    EXPECT_FALSE(pt::Double().left);
    EXPECT_GE(pt::Double().sleeps, 20);
    const std::array<bool, 3> once = rules::state.SeatIsComputer;
    const int firstOnce = rules::state.FirstPlayer;
    const bool helpOnce = game::state.HelpShown;
    const std::uint8_t cellOnce = rules::BoardAt(2, 2);

    Update();
    EXPECT_EQ(rules::state.SeatIsComputer, once);
    EXPECT_EQ(rules::state.FirstPlayer, firstOnce);
    EXPECT_EQ(game::state.HelpShown, helpOnce);
    EXPECT_EQ(rules::BoardAt(2, 2), cellOnce);

    const std::string name = GetParam().name;
    EXPECT_EQ(once[1], name == "seat1" ? !seats[1] : seats[1]);
    EXPECT_EQ(once[2], name == "seat2" ? !seats[2] : seats[2]);
    EXPECT_EQ(firstOnce, name == "begins2" ? 2 : 1);
    EXPECT_EQ(helpOnce, name == "help");
    EXPECT_EQ(cellOnce, name == "newgame" ? 0 : 1);
}

// A signal asking the game to end while a control is held gives up the wait at once, and so
// does one while a press on the help page is held: the frame returns and the loop closes the game.
TEST_P(EachControl, AQuitRequestEndsItsWaitForRelease) {
    for (const bool helpPage : {false, true}) {
        Update();
        OpenPanel();
        game::state.HelpShown = helpPage;
        Update();
        PointAt(GetParam().x, GetParam().y);
        PressLeftFor(100000);
        base::QuitRequested = true;
        Update();
        base::QuitRequested = false;
        EXPECT_EQ(pt::Double().sleeps, 0) << (helpPage ? "on the help page" : "on the control");
        pt::Double().left = false;
    }
}

INSTANTIATE_TEST_SUITE_P(Panel, EachControl,
                         ::testing::Values(Control{"seat1", kLeft + 55, 528},
                                           Control{"seat2", kLeft + 145, 528},
                                           Control{"begins2", kLeft + 145, 433},
                                           Control{"help", kLeft + 100, 180},
                                           Control{"newgame", kLeft + 100, 700}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameTest, ControlEdgesAreIncludedAndTheirOwnersOnly) {
    rules::state.SeatIsComputer = {false, false, true};
    OpenPanel();
    Update();
    PointAt(kLeft + 30, 553); // the corner of player 1's seat
    PressLeftFor(20);
    Update();
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
    EXPECT_TRUE(rules::state.SeatIsComputer[2]);

    PointAt(kLeft + 100, 528); // between the two seats
    PressLeftFor(20);
    Update();
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
    EXPECT_TRUE(rules::state.SeatIsComputer[2]);
}

TEST_F(FrameTest, AClickShorterThanAFrameActsOnce) {
    OpenPanel();
    Update();
    PointAt(kLeft + 55, 528);
    pt::Double().leftClickUnseen = true;
    Update();
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
    EXPECT_EQ(pt::Double().sleeps, 0);
    Update();
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
}

TEST_F(FrameTest, SeatToggleWorksOnAHalfOpenPanel) {
    game::state.MenuOffset = 100;
    PointAt(1000, 740);
    Update();                         // the first update counts 1 ms
    const int left = 1024 - 101 - 10; // where the next update slides it
    PointAt(left + 55, 528);
    PressLeftFor(500);
    Update(10);
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
    Update(10);
    EXPECT_TRUE(rules::state.SeatIsComputer[1]);
}

TEST_F(FrameTest, ExitWorksOnlyOnceThePanelIsOut) {
    PointAt(1023, 60);
    pt::Double().left = true;
    Update();
    EXPECT_FALSE(QuitPosted());

    pt::Double().left = false;
    OpenPanel();
    Update();
    PointAt(kLeft + 100, 60);
    pt::Double().left = true;
    Update();
    EXPECT_TRUE(QuitPosted());
}

TEST_F(FrameTest, NewGameClearsTheBoardAndRestartsTheClock) {
    rules::state.SeatIsComputer = {false, false, false};
    rules::state.FirstPlayer = 2;
    rules::BoardAt(1, 1) = 3;
    rules::state.GameOver = true;
    rules::state.MoveDelay = 0;
    OpenPanel();
    Update();
    PointAt(kLeft + 100, 700);
    PressLeftFor(20);
    Update(20);
    EXPECT_EQ(rules::BoardAt(1, 1), 0);
    EXPECT_FALSE(rules::state.GameOver);
    EXPECT_EQ(rules::state.CurrentPlayer, 2);
    EXPECT_EQ(game::state.LastTick, 0u);
    Update(300);
    EXPECT_EQ(game::state.FrameTime, 1);
}

TEST_F(FrameTest, SliderPositionsGiveTheirNoiseRange) {
    const double positions[] = {0, 40, 41, 100, 50};
    const int ranges[] = {10000, 6000, 1180, 0, 1000};
    OpenPanel();
    for (int n = 0; n < 5; ++n) {
        game::state.StrengthSlider = positions[n];
        Update();
        EXPECT_EQ(rules::state.NoiseRange, ranges[n]) << positions[n];
    }
    // Outside the panel the slider is not read.
    game::state.StrengthSlider = 0;
    PointAt(500, 400);
    Update();
    EXPECT_EQ(rules::state.NoiseRange, 1000);
}

TEST_F(FrameTest, DraggingTheKnobFollowsThePointerAndStopsAtTheEnds) {
    OpenPanel();
    Update();
    const int knob = kLeft + 18 + 81; // at 50
    PointAt(knob, 300);
    pt::Double().left = true;
    Update();
    EXPECT_TRUE(game::state.SliderDragging);

    PointAt(knob + 81, 300);
    Update();
    EXPECT_DOUBLE_EQ(game::state.StrengthSlider, 100.0);
    EXPECT_EQ(rules::state.NoiseRange, 0);

    PointAt(kLeft + 1, 300);
    Update();
    EXPECT_DOUBLE_EQ(game::state.StrengthSlider, 0.0);
    EXPECT_EQ(rules::state.NoiseRange, 10000);

    pt::Double().left = false;
    Update();
    EXPECT_FALSE(game::state.SliderDragging);
    PointAt(knob, 300);
    Update();
    EXPECT_DOUBLE_EQ(game::state.StrengthSlider, 0.0);
}

TEST_F(FrameTest, HelpOpensOnReleaseAndTheNextPressAnywhereClosesIt) {
    OpenPanel();
    Update();
    PointAt(kLeft + 100, 180);
    PressLeftFor(5);
    Update();
    EXPECT_TRUE(game::state.HelpShown);
    Update();
    EXPECT_TRUE(game::state.HelpShown);
    EXPECT_EQ(game::state.MenuOffset, 5);

    PointAt(400, 400);
    PressLeftFor(5);
    Update();
    EXPECT_FALSE(game::state.HelpShown);
    EXPECT_FALSE(pt::Double().left);
    EXPECT_EQ(rules::state.MoveDelay, 0);
}

} // namespace
