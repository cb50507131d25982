#include <gtest/gtest.h>

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
#include "shell/window.h"

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
    shell::SendCloseMessage();
    events.push_back("update finished");
}

class Loop : public ::testing::Test {
  protected:
    void SetUp() override {
        pt::ResetDouble();
        platform::ClearMessages();
        platform::Keys.fill(0);
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
    EXPECT_EQ(platform::Keys[38], -1);
    EXPECT_EQ(platform::Keys[27], -1);

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
    EXPECT_EQ(platform::Keys[37], -1);
    shell::MainWindowProc(Message{MessageKind::KeyUp, 37});
    EXPECT_EQ(platform::Keys[37], 0);
    // Codes outside the table are ignored, not written past it.
    shell::MainWindowProc(Message{MessageKind::KeyDown, 4000});
    EXPECT_EQ(platform::Keys[255], 0);
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
    EXPECT_EQ(platform::Keys[38], -1);
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
    // Shown, the loop never waits: frames follow each other as fast as they are drawn.
    for (int pass = 0; pass < 5; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(pt::Double().swaps, 6);
    EXPECT_EQ(pt::Double().waits, 1);
}

TEST_F(Loop, TheFirstFrameAfterAPauseMeasuresThePauseAsOneLongFrame) {
    shell::Frame = {game::UpdateFrame, RecordDraw};
    game::InitViewState();
    game::InitPanelState();
    rules::InitGameState();
    pt::Double().tick = 20000;
    EXPECT_TRUE(shell::LoopPass());
    pt::Double().tick += 16;
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(game::FrameTime, 16);
    const std::int32_t pulse = rules::Pulse;

    pt::Double().visible = false;
    pt::Double().onWait = [] { pt::Double().tick += 250; };
    for (int pass = 0; pass < 8; ++pass)
        EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(rules::Pulse, pulse) << "nothing moves while hidden";
    pt::Double().visible = true;
    pt::Double().tick += 10;
    EXPECT_TRUE(shell::LoopPass());
    EXPECT_EQ(game::FrameTime, 8 * 250 + 10);
}

TEST_F(Loop, ASizeOfHeightZeroBecomesOne) {
    shell::MainWindowProc(Message{MessageKind::Size, 0, 640, 0});
    EXPECT_EQ(render::ViewportWidth, 640);
    EXPECT_EQ(render::ViewportHeight, 1);
    shell::MainWindowProc(Message{MessageKind::Size, 0, 800, 600});
    EXPECT_EQ(render::ViewportHeight, 600);
}

} // namespace
