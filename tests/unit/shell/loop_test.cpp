#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/state.h"
#include "platform/message_queue.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/state.h"
#include "shell/app.h"
#include "shell/pacing.h"
#include "shell/window.h"
#include "tests/support/game/layers.h"

namespace {

namespace pt = platform::testing;
using platform::Message;
using platform::MessageKind;

std::vector<std::string> events; // what the loop did, in order

void RecordUpdate() {
    events.push_back("update");
}
void RecordDraw() {
    events.push_back("draw");
}
void CloseFromUpdate() {
    events.push_back("update");
    platform::SendMessage(Message{MessageKind::Close});
    events.push_back("update finished");
}

class Loop : public ::testing::Test {
  protected:
    void SetUp() override {
        kxtest::ResetLayers();
        shell::state.FrameStarted = false;
        events.clear();
        saved_ = shell::Frame;
        shell::Frame = {RecordUpdate, RecordDraw};
        ASSERT_TRUE(pt::OpenHiddenGlWindow(64, 48));
    }
    void TearDown() override {
        shell::Frame = saved_;
        platform::ClearMessages();
        pt::ResetDouble();
    }
    shell::FrameHooks saved_{};
};

TEST_F(Loop, EveryWaitingMessageIsHandledBeforeAFrame) {
    platform::PostMessage(Message{MessageKind::KeyDown, 38});
    platform::PostMessage(Message{MessageKind::KeyDown, 27});
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(platform::state.Keys[38], -1);
    EXPECT_EQ(platform::state.Keys[27], -1);

    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(events, (std::vector<std::string>{"update", "draw"}));
    EXPECT_EQ(pt::Double().swaps, 1);
}

TEST_F(Loop, MessagesArrivingFasterThanHandledHoldBackFrames) {
    int fed = 0;
    pt::Double().onPump = [&] {
        if (fed < 5)
            platform::PostMessage(
                Message{MessageKind::KeyUp, static_cast<std::uint32_t>(40 - fed++ % 4)});
    };
    for (int pass = 0; pass < 5; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(Loop, TheQuitMessageEndsTheLoop) {
    platform::PostQuitMessage();
    EXPECT_FALSE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
}

TEST_F(Loop, ACloseFromInsideTheUpdateLetsThatPassFinishWithoutDrawing) {
    shell::Frame = {CloseFromUpdate, RecordDraw};
    EXPECT_TRUE(shell::LoopPass());
    // The update runs to its end; nothing is drawn or swapped without a context.
    EXPECT_EQ(events, (std::vector<std::string>{"update", "update finished"}));
    EXPECT_EQ(pt::Double().swaps, 0);
    EXPECT_FALSE(platform::HasGlContext());
    EXPECT_FALSE(shell::LoopPass());
}

TEST_F(Loop, TheTeardownRunsTwiceHarmlessly) {
    shell::MainWindowProc(Message{MessageKind::Close});
    shell::MainWindowProc(Message{MessageKind::Destroy});
    EXPECT_FALSE(platform::HasGlContext());
    EXPECT_TRUE(pt::Double().boxes.empty());
    // Both runs queue a quit; the first ends the loop.
    EXPECT_FALSE(shell::LoopPass());
}

TEST_F(Loop, KeysFollowKeyMessagesAndRepeatsChangeNothing) {
    shell::MainWindowProc(Message{MessageKind::KeyDown, 37});
    shell::MainWindowProc(Message{MessageKind::KeyDown, 37});
    EXPECT_EQ(platform::state.Keys[37], -1);
    shell::MainWindowProc(Message{MessageKind::KeyUp, 37});
    EXPECT_EQ(platform::state.Keys[37], 0);
    // Codes outside the table are ignored, not written past it.
    shell::MainWindowProc(Message{MessageKind::KeyDown, 4000});
    EXPECT_EQ(platform::state.Keys[255], 0);
}

TEST_F(Loop, AHiddenWindowGetsNoFramesAndTheLoopWaitsForTheSystem) {
    pt::Double().visible = false;
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(pt::Double().swaps, 0);
    EXPECT_EQ(pt::Double().waits, 3);

    // Messages are still handled, and the quit still ends the loop.
    platform::PostMessage(Message{MessageKind::KeyDown, 38});
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(platform::state.Keys[38], -1);
    EXPECT_EQ(pt::Double().waits, 3);
    platform::PostQuitMessage();
    EXPECT_FALSE(shell::LoopPass());
}

TEST_F(Loop, DrawingResumesOnThePassAfterTheWindowShowsAgain) {
    pt::Double().visible = false;
    pt::Double().onWait = [] { pt::Double().visible = true; };
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(events, (std::vector<std::string>{"update", "draw"}));
    EXPECT_EQ(pt::Double().swaps, 1);
    EXPECT_EQ(pt::Double().waits, 1);
}

TEST_F(Loop, AtRestNothingIsDrawnTillInputComesAndThenAtOnce) {
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, 1);
    // Nothing moves and nothing came in: every pass sleeps on the queue, a while at a time.
    for (int pass = 0; pass < 20; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, 1);
    EXPECT_EQ(pt::Double().waits, 20);
    EXPECT_GE(pt::Double().waitedMs, 20 * 100);

    pt::Double().input = true;
    const int waits = pt::Double().waits;
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, 2) << "a frame long after the last one comes without a wait";
    EXPECT_EQ(pt::Double().waits, waits);

    // Input right after a frame waits out the rest of the refresh period, no more.
    pt::Double().tick += 5;
    pt::Double().input = true;
    const std::uint32_t inputAt = pt::Double().tick;
    for (int pass = 0; pass < 5 && pt::Double().swaps == 2; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, 3);
    EXPECT_LE(pt::Double().tick - inputAt, 17u);
}

TEST_F(Loop, WhileSomethingMovesFramesComeAtMostAtTheRefreshRate) {
    for (const int rate : {60, 0, 144}) {
        pt::ResetDouble();
        ASSERT_TRUE(pt::OpenHiddenGlWindow(64, 48));
        pt::Double().refreshRate = rate;
        shell::state.FrameStarted = false;
        platform::state.Keys[39] = -1; // the view turns while the key is held
        while (pt::Double().tick < 1000)
            EXPECT_TRUE(shell::LoopPass());
        const int expected = rate > 0 ? rate : 60;
        EXPECT_LE(pt::Double().swaps, expected + 1) << rate << " Hz";
        EXPECT_GE(pt::Double().swaps, expected * 9 / 10) << rate << " Hz";
        // The loop slept between frames on the queue, never longer than a period at a time.
        EXPECT_LE(pt::Double().waitedMs / std::max(pt::Double().waits, 1), 1000 / expected + 1);
    }
    // Let go, nothing moves any more: the loop rests.
    platform::state.Keys[39] = 0;
    const int swaps = pt::Double().swaps;
    for (int pass = 0; pass < 10; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, swaps);
}

TEST_F(Loop, TheTimeAHiddenWindowWaitedIsNoGameTime) {
    shell::Frame = {game::UpdateFrame, RecordDraw};
    rules::state.GameOver = true; // the pulse runs
    pt::Double().tick = 20000;
    while (pt::Double().tick < 20100)
        EXPECT_TRUE(shell::LoopPass());
    const std::int32_t pulse = rules::state.Pulse;
    EXPECT_NEAR(pulse, 100, 17);

    pt::Double().visible = false;
    for (int pass = 0; pass < 8; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(rules::state.Pulse, pulse) << "nothing moves while hidden";
    EXPECT_GE(pt::Double().tick, 22000u);
    pt::Double().visible = true;
    pt::Double().input = true;
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(game::state.FrameTime, 1);
    EXPECT_EQ(rules::state.Pulse, pulse + 1) << "the pulse goes on where it stood";
}

TEST_F(Loop, ASizeOfHeightZeroBecomesOne) {
    shell::MainWindowProc(Message{MessageKind::Size, 0, 640, 0});
    EXPECT_EQ(render::state.ViewportWidth, 640);
    EXPECT_EQ(render::state.ViewportHeight, 1);
    shell::MainWindowProc(Message{MessageKind::Size, 0, 800, 600});
    EXPECT_EQ(render::state.ViewportHeight, 600);
}

} // namespace
