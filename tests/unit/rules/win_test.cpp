#include <gtest/gtest.h>

#include "rules/rules.h"
#include "rules_helpers.h"

using namespace rules;
using rules_test::SetBoard;
using rules_test::SquareNumber;

namespace {

class WinTest : public ::testing::Test {
  protected:
    void SetUp() override { rules_test::ResetGame(); }
};

TEST_F(WinTest, UprightAndTiltedSquaresWinAndMarkTheirCorners) {
    SetBoard("11...."
             "11...."
             "......"
             "......"
             "......"
             "......");
    EXPECT_EQ(CheckWin(), SquareNumber({{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_EQ(BoardAt(1, 1), 3);
    EXPECT_EQ(BoardAt(2, 2), 3);

    SetBoard("......"
             "..2..."
             "......"
             "......"
             "......"
             "......");
    for (const SquareCorner c : {SquareCorner{2, 1}, {4, 2}, {3, 4}, {1, 3}})
        BoardAt(c.i, c.j) = 2;
    const int tilted = SquareNumber({{2, 1}, {4, 2}, {3, 4}, {1, 3}});
    ASSERT_GT(tilted, 0);
    EXPECT_EQ(CheckWin(), tilted);
    EXPECT_EQ(BoardAt(2, 1), 4);
    EXPECT_EQ(BoardAt(1, 3), 4);
    EXPECT_EQ(BoardAt(2, 3), 2) << "a piece off the square stays unmarked";
}

TEST_F(WinTest, MixedOrMarkedSquaresDoNotWinAndChangeNothing) {
    SetBoard("12...."
             "11...."
             "33...."
             "33...."
             "......"
             "......");
    state.Pulse = 640;
    state.PulseRising = false;
    const auto before = state.Board;
    EXPECT_EQ(CheckWin(), -1);
    EXPECT_EQ(state.Board, before);
    EXPECT_EQ(state.Pulse, 640);
    EXPECT_FALSE(state.PulseRising);
}

TEST_F(WinTest, TwoSquaresAtOnceMarkOnlyTheFirstInTableOrder) {
    SetBoard("111..."
             "111..."
             "......"
             "......"
             "......"
             "......");
    const int left = SquareNumber({{1, 1}, {1, 2}, {2, 1}, {2, 2}});
    const int right = SquareNumber({{1, 2}, {1, 3}, {2, 2}, {2, 3}});
    const int first = std::min(left, right);
    ASSERT_EQ(CheckWin(), first);
    for (const SquareCorner c : state.SquareTable[static_cast<std::size_t>(first - 1)])
        EXPECT_EQ(BoardAt(c.i, c.j), 3);
    const int outside = first == left ? 3 : 1;
    EXPECT_EQ(BoardAt(1, outside), 1);
    EXPECT_EQ(BoardAt(2, outside), 1);
}

TEST_F(WinTest, AWinRestartsThePulseRising) {
    SetBoard("......"
             "......"
             "......"
             "......"
             "....22"
             "....22");
    state.Pulse = 1000;
    state.PulseRising = false;
    EXPECT_GT(CheckWin(), 0);
    EXPECT_EQ(state.Pulse, 0);
    EXPECT_TRUE(state.PulseRising);
}

TEST_F(WinTest, SquaresWithCornersOffTheBoardNeverWin) {
    state.Board.fill(1);
    for (Square& square : state.SquareTable)
        square = {{{0, 1}, {7, 7}, {9, 0}, {1, 9}}};
    state.SquareTable[104] = {{{1, 1}, {1, 2}, {2, 1}, {6, 9}}};
    EXPECT_EQ(CheckWin(), -1);
    EXPECT_TRUE(
        std::all_of(state.Board.begin(), state.Board.end(), [](std::uint8_t v) { return v == 1; }));
}

} // namespace

namespace {

TEST_F(WinTest, EverySquareOnItsOwnWinsWithItsOwnNumber) {
    for (int n = 1; n <= kSquareCount; ++n) {
        state.Board.fill(kEmpty);
        const auto player = static_cast<std::uint8_t>(1 + n % 2);
        const Square& square = state.SquareTable[static_cast<std::size_t>(n - 1)];
        for (const SquareCorner c : square)
            BoardAt(c.i, c.j) = player;
        ASSERT_EQ(CheckWin(), n) << "square " << n;
        int marked = 0;
        for (const std::uint8_t v : state.Board)
            marked += v == player + 2;
        EXPECT_EQ(marked, 4) << "square " << n;
    }
}

} // namespace
