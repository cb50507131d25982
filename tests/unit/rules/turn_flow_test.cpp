#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "rules/computer.h"
#include "rules/random.h"
#include "rules/rules.h"
#include "rules_helpers.h"

using namespace rules;
using rules_test::SetBoard;

namespace {

class TurnFlowTest : public ::testing::Test {
  protected:
    void SetUp() override { rules_test::ResetGame(); }

    // One frame's turn flow, as the frame update runs it.
    static void Frame(std::int32_t frameTime, bool leftButtonDown = false, Cell hover = {}) {
        LandPendingMove(frameTime);
        ComputerChoice();
        HumanChoice(leftButtonDown, hover);
    }

    static int Pieces() {
        return static_cast<int>(
            std::count_if(state.Board.begin(), state.Board.end(), [](auto v) { return v; }));
    }
};

TEST_F(TurnFlowTest, HumanMoveLandsAfterASecondAndTheComputerRepliesInTheSameFrame) {
    Frame(1);
    EXPECT_EQ(state.MoveDelay, 0) << "nothing moves until the human presses";
    Frame(16, true, {3, 4});
    Frame(400, true, {3, 4});
    EXPECT_EQ(state.MoveDelay, 1000) << "holding the button restarts the delay";
    Frame(999);
    EXPECT_EQ(BoardAt(3, 4), 0);
    Frame(1);
    EXPECT_EQ(BoardAt(3, 4), 1);
    EXPECT_EQ(state.CurrentPlayer, 2);
    ASSERT_EQ(state.MoveDelay, 1000) << "the computer's move is pending in the landing frame";
    const Cell reply = state.PendingCell;
    EXPECT_EQ(BoardAt(reply.i, reply.j), 0);
    Frame(1000);
    EXPECT_EQ(BoardAt(reply.i, reply.j), 2);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.MoveDelay, 0);
}

TEST_F(TurnFlowTest, ASecondPressRetargetsThePendingMove) {
    state.SeatIsComputer[2] = false;
    Frame(1, true, {1, 1});
    Frame(500);
    Frame(10, true, {6, 6});
    Frame(990);
    EXPECT_EQ(Pieces(), 0);
    Frame(10);
    EXPECT_EQ(BoardAt(6, 6), 1);
    EXPECT_EQ(Pieces(), 1);
}

TEST_F(TurnFlowTest, PressesThatAreNoMoveAreIgnored) {
    SetBoard("2....."
             "......"
             "......"
             "......"
             "......"
             "......");
    for (const Cell hover :
         {Cell{1, 1}, Cell{-1, 3}, Cell{7, 1}, Cell{1, 0}, Cell{INT_MIN, INT_MAX}})
        Frame(1, true, hover);
    Frame(1, false, {2, 2});
    EXPECT_EQ(state.MoveDelay, 0);

    state.CurrentPlayer = 2; // the computer's turn: a press does not retarget its move
    Frame(1);
    const Cell computer = state.PendingCell;
    Frame(1, true, {computer.i == 6 ? 5 : 6, 6});
    EXPECT_EQ(state.PendingCell.i, computer.i);
    EXPECT_EQ(state.PendingCell.j, computer.j);
}

TEST_F(TurnFlowTest, NewGameDropsAPendingMoveAndStartsWithTheFirstPlayer) {
    Frame(1, true, {2, 2});
    state.FirstPlayer = 2;
    NewGame();
    EXPECT_EQ(state.MoveDelay, 0);
    EXPECT_EQ(state.CurrentPlayer, 2);
    EXPECT_EQ(Pieces(), 0);
    Frame(1);
    EXPECT_EQ(Pieces(), 0) << "the dropped move never lands";
    EXPECT_EQ(state.MoveDelay, 1000) << "the computer begins in the next frame";
}

TEST_F(TurnFlowTest, AMoveAlreadyPendingLandsWhenItsSeatIsSwitched) {
    Frame(1, true, {2, 2});
    state.SeatIsComputer[1] = true;
    Frame(1000);
    EXPECT_EQ(BoardAt(2, 2), 1);
    ASSERT_EQ(state.CurrentPlayer, 2);
    ASSERT_EQ(state.MoveDelay, 1000);
    const Cell reply = state.PendingCell;
    state.SeatIsComputer[2] = false;
    Frame(1000);
    EXPECT_EQ(BoardAt(reply.i, reply.j), 2);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.MoveDelay, 1000) << "player 1 is the computer now";
}

TEST_F(TurnFlowTest, AWinEndsTheGameAndFreezesPlay) {
    SetBoard("11...."
             "1....."
             "......"
             "......"
             "......"
             "......");
    Frame(1, true, {2, 2});
    Frame(1000);
    EXPECT_TRUE(state.GameOver);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(BoardAt(2, 2), 3);
    EXPECT_EQ(state.MoveDelay, 0);
    const auto board = state.Board;
    state.SeatIsComputer[1] = true;
    Frame(1000, true, {4, 4});
    state.SeatIsComputer[1] = false;
    Frame(1000, true, {4, 4});
    EXPECT_EQ(state.Board, board);
    EXPECT_EQ(state.MoveDelay, 0);
}

TEST_F(TurnFlowTest, AFullBoardWithoutASquareSimplyStands) {
    SetBoard(rules_test::kFullBoardWithoutSquare);
    ASSERT_EQ(CheckWin(), -1);
    state.SeatIsComputer = {false, true, true};
    const std::uint64_t draws = RandomDraws();
    Frame(1000, true, {3, 3});
    EXPECT_EQ(state.MoveDelay, 0);
    EXPECT_EQ(RandomDraws(), draws) << "the computer's step is not run";
    EXPECT_FALSE(state.GameOver);
    EXPECT_EQ(Pieces(), 36);
}

TEST_F(TurnFlowTest, OddFrameTimesNeitherLandEarlyNorOverflow) {
    Frame(1, true, {1, 6});
    Frame(-5);
    Frame(INT_MIN);
    EXPECT_EQ(state.MoveDelay, 1000);
    Frame(INT_MAX);
    EXPECT_EQ(BoardAt(1, 6), 1);
    EXPECT_EQ(state.MoveDelay, 1000) << "the computer's reply";
}

TEST_F(TurnFlowTest, TwoComputersPlayOnePieceAtATimeToTheEnd) {
    state.SeatIsComputer = {false, true, true};
    state.NoiseRange = 6000;
    Frame(1);
    int moves = 0;
    while (state.MoveDelay > 0) {
        ASSERT_LT(moves, 36);
        Frame(1000);
        ASSERT_EQ(Pieces(), ++moves);
    }
    EXPECT_TRUE(state.GameOver || moves == 36);
}

TEST_F(TurnFlowTest, TheResetClearsAWonGameAndEverySetting) {
    SetBoard("111...1..........................222");
    state.SeatIsComputer = {false, true, false};
    state.FirstPlayer = 2;
    SetStrength(100.0);
    Frame(1, true, {2, 2});
    Frame(1000);
    ASSERT_TRUE(state.GameOver);
    AdvancePulse(400);

    ResetRulesState();
    EXPECT_FALSE(state.GameOver);
    EXPECT_EQ(state.MoveDelay, 0);
    EXPECT_EQ(state.PendingCell.i, -1);
    EXPECT_EQ(Pieces(), 0);
    EXPECT_EQ(state.SeatIsComputer, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(state.FirstPlayer, 1);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.NoiseRange, 1000);
    EXPECT_EQ(state.Pulse, 0);
    EXPECT_TRUE(state.PulseRising);
    EXPECT_EQ(state.SquareTable[0][0].i, 0); // no board definition until one loads
}

} // namespace
