#include <limits>

#include "game/state.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "tests/support/game/frame_fixture.h"

namespace {

using game::UpdateFrame;

TEST_F(FrameTest, FrameTimeIsOneAtFirstThenFollowsTheTickCount) {
    UpdateFrame();
    EXPECT_EQ(game::state.FrameTime, 1);
    UpdateFrame();
    EXPECT_EQ(game::state.FrameTime, 0);
    Update(16);
    EXPECT_EQ(game::state.FrameTime, 16);

    // Across the wrap of the tick count.
    game::state.LastTick = 0xFFFFFFF0u;
    pt::Double().tick = 0x10u;
    UpdateFrame();
    EXPECT_EQ(game::state.FrameTime, 0x20);

    // A frame longer than an int holds is held at the largest frame time, never negative.
    game::state.LastTick = 1;
    pt::Double().tick = 0x80000010u;
    UpdateFrame();
    EXPECT_EQ(game::state.FrameTime, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(game::state.MenuOffset, 5);
    EXPECT_EQ(rules::state.Pulse, 1000);
}

// Scaled alike both ways, against the top-right corner: on a 5:4 screen the panel's virtual
// screen is as wide as the screen and the pointer reaches below its foot.
TEST_F(FrameTest, PointerIsScaledIntoTheVirtualScreenAndFlipped) {
    platform::state.ScreenWidth = 1280;
    platform::state.ScreenHeight = 1024;
    render::state.ViewportHeight = 1024;
    pt::Double().cursorX = 640;
    pt::Double().cursorY = 0;
    Update();
    EXPECT_EQ(game::state.PointerX, 512);
    EXPECT_EQ(game::state.PointerY, 768);

    pt::Double().cursorY = 1024;
    Update();
    EXPECT_EQ(game::state.PointerY, -51);

    // Halves round to even: 1 px and 3 px of a 2048 x 1536 screen are 0.5 and 1.5 units.
    platform::state.ScreenWidth = 2048;
    platform::state.ScreenHeight = 1536;
    render::state.ViewportHeight = 1536;
    pt::Double().cursorX = 1;
    Update();
    EXPECT_EQ(game::state.PointerX, 0);
    pt::Double().cursorX = 3;
    Update();
    EXPECT_EQ(game::state.PointerX, 2);
}

// A second start (a test, a new scene) must not inherit the pointer, clock or drag of the first.
TEST_F(FrameTest, TheResetForgetsThePointerTheClockAndTheDrag) {
    HoldRightAt(300, 200);
    Update();
    Update(40);
    ASSERT_TRUE(game::state.Rotating);
    game::state.TexWood = 3;

    game::ResetGameState();
    EXPECT_EQ(game::state.PointerX, 0);
    EXPECT_EQ(game::state.PointerY, 0);
    EXPECT_EQ(game::state.FrameTime, 0);
    EXPECT_EQ(game::state.LastTick, 0u);
    EXPECT_FALSE(game::state.Rotating);
    EXPECT_EQ(game::state.RotateAnchorX, 0);
    EXPECT_EQ(game::state.RotateAnchorY, 0);
    EXPECT_EQ(game::state.CameraTilt, -45.0f);
    EXPECT_EQ(game::state.TexWood, -1);
}

TEST_F(FrameTest, PointerIsOriginWhileHelpIsShown) {
    PointAt(600, 300);
    game::state.HelpShown = true;
    Update();
    EXPECT_EQ(game::state.PointerX, 0);
    EXPECT_EQ(game::state.PointerY, 0);
    EXPECT_EQ(game::state.MenuOffset, 5);
}

TEST_F(FrameTest, ArrowKeysTurnOneDegreePerUpdateAndTiltIsClampedOutsideThePanel) {
    PointAt(500, 400);
    platform::state.Keys[37] = -1;
    Update();
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTurn, 43.0f);
    platform::state.Keys[37] = 0;
    platform::state.Keys[39] = -1;
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTurn, 44.0f);
    platform::state.Keys[39] = 0;

    platform::state.Keys[40] = -1;
    game::state.CameraTilt = -89.5f;
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, -90.0f);
    platform::state.Keys[40] = 0;

    platform::state.Keys[38] = -1;
    game::state.CameraTilt = -1.5f;
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, -0.5f);
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, 0.0f);

    // In the panel zone the limit is not applied, until the pointer leaves it.
    OpenPanel();
    Update();
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, 2.0f);
    platform::state.Keys[38] = 0;
    PointAt(500, 400);
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, 0.0f);
}

TEST_F(FrameTest, RightDragTurnsTheViewOneDegreePerThreeUnits) {
    HoldRightAt(300, 400);
    Update();
    EXPECT_TRUE(game::state.Rotating);
    EXPECT_EQ(pt::Double().cursor, platform::Cursor::SizeAll);
    EXPECT_FLOAT_EQ(game::state.CameraTurn, 45.0f);

    PointAt(330, 400);
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTurn, 55.0f);
    EXPECT_FLOAT_EQ(game::state.CameraTilt, -45.0f);

    // Dragging up lowers the tilt.
    PointAt(330, 430);
    Update();
    EXPECT_FLOAT_EQ(game::state.CameraTilt, -55.0f);

    pt::Double().right = false;
    PointAt(400, 500);
    Update();
    EXPECT_FALSE(game::state.Rotating);
    EXPECT_EQ(pt::Double().cursor, platform::Cursor::Arrow);
    EXPECT_FLOAT_EQ(game::state.CameraTurn, 55.0f);
    EXPECT_FLOAT_EQ(game::state.CameraTilt, -55.0f);
}

TEST_F(FrameTest, PulseIsATriangleWaveBetweenZeroAndAThousand) {
    Update(); // the first update counts 1 ms
    rules::state.Pulse = 0;
    rules::state.PulseRising = true;
    const int expected[] = {400, 800, 1000, 600, 200, 0, 400};
    const bool rising[] = {true, true, false, false, false, true, true};
    for (int n = 0; n < 7; ++n) {
        Update(400);
        EXPECT_EQ(rules::state.Pulse, expected[n]) << "step " << n;
        EXPECT_EQ(rules::state.PulseRising, rising[n]) << "step " << n;
    }
}

TEST_F(FrameTest, EscRequestsTheCloseAndTheUpdateRunsOn) {
    platform::SendMessage({platform::MessageKind::KeyDown, 27});
    rules::state.Pulse = 0;
    Update(); // the first update counts 1 ms
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(rules::state.Pulse, 1);
}

} // namespace
