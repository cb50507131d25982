// The game's clock through the loop's rests and paced frames, on the double's clock: the
// loop's waits move it on by what they waited.
#include <cstdint>

#include "game/frame.h"
#include "shell/app.h"
#include "shell/pacing.h"
#include "tests/support/game/cell_point.h"
#include "tests/support/game/frame_fixture.h"

namespace {

class LoopTime : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        saved_ = shell::Frame;
        shell::Frame = {game::UpdateFrame, [] {}};
        shell::state.FrameStarted = false;
        PointAt(20, 384);
    }
    void TearDown() override {
        shell::Frame = saved_;
        FrameTest::TearDown();
    }
    // Loop passes until the clock has gone on by ms.
    static void RunFor(std::uint32_t ms) {
        const std::uint32_t end = pt::Double().tick + ms;
        while (static_cast<std::int32_t>(end - pt::Double().tick) > 0)
            ASSERT_TRUE(shell::LoopPass());
    }
    // Loop passes until a frame has been drawn.
    static void RunToNextFrame() {
        const int swaps = pt::Double().swaps;
        for (int pass = 0; pass < 10 && pt::Double().swaps == swaps; ++pass)
            ASSERT_TRUE(shell::LoopPass());
        ASSERT_GT(pt::Double().swaps, swaps);
    }
    // The pointer moves there, as the system tells.
    static void MovePointer(int x, int y) {
        PointAt(x, y);
        pt::Double().input = true;
    }
    static void MovePointerToCell(int i, int j) {
        const kxtest::WindowPoint w = kxtest::ProjectCellPoint(i, j, engine::TVector3{});
        pt::Double().cursorX = static_cast<int>(w.x);
        pt::Double().cursorY = 768 - static_cast<int>(w.y);
        pt::Double().input = true;
    }
    shell::FrameHooks saved_{};
};

TEST_F(LoopTime, AfterALongRestThePanelStillSlidesAtItsSpeed) {
    RunFor(100);
    const int swaps = pt::Double().swaps;
    RunFor(10000);
    EXPECT_EQ(pt::Double().swaps, swaps) << "nothing drawn at rest";

    MovePointer(1020, 384);
    ASSERT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, swaps + 1) << "the pointer is answered at once";
    EXPECT_EQ(game::state.FrameTime, 1) << "the rest is no game time";
    EXPECT_EQ(game::state.MenuOffset, 6);
    RunFor(100);
    EXPECT_NEAR(game::state.MenuOffset, 106, 17);
    RunFor(120);
    EXPECT_EQ(game::state.MenuOffset, 200);

    // Open and still, the panel lets the loop rest again.
    const int open = pt::Double().swaps;
    RunFor(1000);
    EXPECT_LE(pt::Double().swaps, open + 1);
}

TEST_F(LoopTime, APieceFallsInASecondAndTheComputerRepliesInTheFrameItsTurnBegins) {
    RunFor(5000);
    MovePointerToCell(3, 4);
    RunToNextFrame();
    ASSERT_EQ(game::state.HoverCell.i, 3);
    pt::Double().left = true;
    pt::Double().input = true;
    RunToNextFrame();
    ASSERT_EQ(rules::state.MoveDelay, 1000);
    const std::uint32_t pressed = pt::Double().tick;
    pt::Double().left = false;
    pt::Double().input = true;

    while (rules::BoardAt(3, 4) == rules::kEmpty && pt::Double().tick - pressed < 5000) {
        const int waited = pt::Double().waitedMs;
        ASSERT_TRUE(shell::LoopPass());
        ASSERT_LE(pt::Double().waitedMs - waited, 17) << "no rest while the piece falls";
    }
    const std::uint32_t fell = pt::Double().tick - pressed;
    EXPECT_GE(fell, 1000u);
    EXPECT_LE(fell, 1017u);
    // The pass that landed the piece also gave the computer its turn and its move.
    EXPECT_EQ(rules::state.CurrentPlayer, 2);
    EXPECT_EQ(rules::state.MoveDelay, 1000);

    RunFor(1100);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    const int swaps = pt::Double().swaps;
    RunFor(2000);
    EXPECT_EQ(pt::Double().swaps, swaps) << "the human's turn, nothing moving: at rest";
}

TEST_F(LoopTime, ThePulseKeepsItsPeriodAtTheRefreshRate) {
    rules::state.GameOver = true;
    RunFor(1);
    const int swaps = pt::Double().swaps;
    RunFor(500);
    EXPECT_NEAR(rules::state.Pulse, 501, 17);
    EXPECT_TRUE(rules::state.PulseRising);
    RunFor(1000);
    EXPECT_NEAR(rules::state.Pulse, 501, 17);
    EXPECT_FALSE(rules::state.PulseRising);
    EXPECT_GE(pt::Double().swaps - swaps, 85);
    EXPECT_LE(pt::Double().swaps - swaps, 91);
}

} // namespace
