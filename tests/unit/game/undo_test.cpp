// Undo, redo and the hint from the keys, through the window procedure's key messages and the
// frame update, against the computer and between two persons.
#include <algorithm>

#include "game/draw.h"
#include "game/keys.h"
#include "platform/keymap.h"
#include "rules/history.h"
#include "rules/rules.h"
#include "tests/support/game/frame_fixture.h"

namespace {

namespace vk = platform::vk;
using rules::Cell;

class Undo : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        PointAt(5, 400); // on no cell and off the panel
        Update();
    }
    void TearDown() override {
        platform::state.KeyPresses.clear();
        FrameTest::TearDown();
    }
    static void Tap(std::uint32_t key, bool ctrl = false, bool shift = false) {
        platform::Message down{platform::MessageKind::KeyDown, key};
        down.ctrl = ctrl;
        down.shift = shift;
        platform::SendMessage(down);
        Update();
        platform::SendMessage({platform::MessageKind::KeyUp, key});
    }
    static void CtrlZ() { Tap('Z', true); }
    static void CtrlShiftZ() { Tap('Z', true, true); }
    // The person's piece on the cell, by the keys, left to fall for `ms`.
    static void Play(Cell cell, std::uint32_t ms = 1000) {
        game::state.KeyboardInUse = true;
        game::state.KeyCursor = cell;
        Tap(vk::kReturn);
        Update(ms);
    }
    static int Pieces() {
        return static_cast<int>(std::count_if(rules::state.Board.begin(), rules::state.Board.end(),
                                              [](auto v) { return v != 0; }));
    }
};

TEST_F(Undo, AgainstTheComputerTakesBackItsReplyWithTheMoveAndItWaits) {
    Play({3, 3});
    Update(1000); // the reply lands
    ASSERT_EQ(Pieces(), 2);
    const Cell reply = rules::LastMove();
    CtrlZ();
    EXPECT_EQ(Pieces(), 0);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    EXPECT_EQ(rules::LastMove().i, -1);
    for (int n = 0; n < 10; ++n)
        Update(500);
    EXPECT_EQ(Pieces(), 0) << "the computer waits for the person's move";
    CtrlShiftZ();
    EXPECT_EQ(rules::BoardAt(3, 3), 1);
    EXPECT_EQ(rules::BoardAt(reply.i, reply.j), 2);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    EXPECT_EQ(rules::state.MoveDelay, 0) << "a redo lands at once";
    CtrlZ();
    Tap('Y', true);
    EXPECT_EQ(Pieces(), 2) << "Ctrl+Y redoes too";
    Tap(vk::kBack);
    EXPECT_EQ(Pieces(), 0) << "Backspace undoes too";
    Play({1, 1});
    Update(1000);
    CtrlShiftZ();
    EXPECT_EQ(Pieces(), 2) << "a new move forgets what the undo took";
}

TEST_F(Undo, BetweenTwoPersonsOneMoveAtATimeBackToTheEmptyBoard) {
    rules::ToggleSeat(2);
    Play({1, 1});
    Play({2, 2});
    Play({3, 3});
    CtrlZ();
    EXPECT_EQ(Pieces(), 2);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    CtrlZ();
    CtrlZ();
    CtrlZ(); // nothing left to take back
    EXPECT_EQ(Pieces(), 0);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    CtrlShiftZ();
    CtrlShiftZ();
    EXPECT_EQ(Pieces(), 2);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    EXPECT_EQ(rules::LastMove().i, 2);
}

TEST_F(Undo, AfterTheEndTheSquareGoesBackAndARedoWinsAgain) {
    rules::ToggleSeat(2);
    for (const Cell cell : {Cell{1, 1}, {6, 6}, {1, 2}, {6, 5}, {2, 1}, {5, 6}, {2, 2}})
        Play(cell);
    ASSERT_TRUE(rules::state.GameOver);
    ASSERT_EQ(rules::state.Wins[1], 1);
    CtrlZ();
    EXPECT_FALSE(rules::state.GameOver);
    EXPECT_EQ(rules::state.Wins[1], 0) << "the win was taken back";
    EXPECT_EQ(rules::BoardAt(2, 2), 0);
    EXPECT_TRUE(std::all_of(rules::state.Board.begin(), rules::state.Board.end(), [](auto v) {
        return v < 3;
    })) << "the square's pieces are back in their own shades";
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
    CtrlShiftZ();
    EXPECT_TRUE(rules::state.GameOver);
    EXPECT_EQ(rules::BoardAt(2, 2), 3);
    EXPECT_EQ(rules::state.Wins[1], 1);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
}

TEST_F(Undo, AFallingMoveIsDroppedFirst) {
    Play({3, 3});
    Update(1000);
    Play({1, 1}, 300); // the person's piece still falls
    CtrlZ();
    EXPECT_EQ(rules::state.MoveDelay, 0);
    EXPECT_EQ(Pieces(), 2) << "dropping the falling piece is the whole press";
    Play({1, 1}); // lands; the computer's reply now falls
    ASSERT_GT(rules::state.MoveDelay, 0);
    CtrlZ();
    EXPECT_EQ(rules::state.MoveDelay, 0);
    EXPECT_EQ(Pieces(), 2) << "the reply and the move before it go";
    EXPECT_EQ(rules::BoardAt(1, 1), 0);
    EXPECT_EQ(rules::state.CurrentPlayer, 1);
}

TEST_F(Undo, ASeatTurnedToTheComputerPlaysOnAndTheRedoIsForgotten) {
    rules::ToggleSeat(2);
    Play({1, 1});
    Play({2, 2});
    CtrlZ(); // player 2 to move
    Tap(vk::kF3);
    Update(1000);
    Update(10);
    EXPECT_EQ(Pieces(), 2) << "the computer moved for player 2";
    const Cell reply = rules::LastMove();
    CtrlShiftZ();
    EXPECT_EQ(rules::LastMove().i, reply.i);
    EXPECT_EQ(rules::LastMove().j, reply.j);
    EXPECT_EQ(Pieces(), 2);
    Tap(vk::kF2); // both seats the computer's: nothing to take back for
    const auto board = rules::state.Board;
    CtrlZ();
    EXPECT_EQ(rules::state.Board, board);
}

TEST_F(Undo, AHintPutsTheCursorOnTheWinningCellAndChangesNothingElse) {
    for (const Cell cell : {Cell{1, 1}, {1, 2}, {2, 1}})
        rules::BoardAt(cell.i, cell.j) = 1;
    for (const Cell cell : {Cell{6, 6}, {6, 5}, {5, 5}})
        rules::BoardAt(cell.i, cell.j) = 2;
    const auto board = rules::state.Board;
    Tap('H', true);
    EXPECT_TRUE(game::state.HintShown);
    EXPECT_TRUE(game::state.KeyboardInUse);
    EXPECT_EQ(game::state.KeyCursor.i, 2);
    EXPECT_EQ(game::state.KeyCursor.j, 2);
    EXPECT_EQ(rules::state.Board, board);
    EXPECT_FALSE(game::state.HelpShown) << "Ctrl+H is the hint, H alone the help page";
    EXPECT_EQ(game::DescribeFrame().focus.i, 2);
    Update(game::kHintFlashMs);
    EXPECT_EQ(game::DescribeFrame().focus.i, -1) << "the outline flashes";
    Update(game::kHintMs);
    EXPECT_FALSE(game::state.HintShown);
    EXPECT_EQ(game::DescribeFrame().focus.i, 2) << "the cursor stays on the hint";
    game::state.KeyCursor = {4, 4};
    Tap(vk::kSlash, false, true); // '?'
    EXPECT_EQ(game::state.KeyCursor.i, 2);
    Tap(vk::kReturn);
    Update(1000);
    EXPECT_TRUE(rules::state.GameOver) << "Enter plays the hint";
    EXPECT_EQ(rules::state.Wins[1], 1);
}

TEST_F(Undo, NoHintOnTheComputersTurnOrWhileAMoveFalls) {
    Play({3, 3}, 300);
    Tap(vk::kQuestion);
    EXPECT_FALSE(game::state.HintShown);
    Update(1000); // the computer's reply falls
    Tap(vk::kQuestion);
    EXPECT_FALSE(game::state.HintShown);
}

} // namespace
