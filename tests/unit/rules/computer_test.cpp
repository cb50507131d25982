#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "rules/computer.h"
#include "rules/random.h"
#include "rules/rules.h"
#include "rules_helpers.h"

using namespace rules;
using rules_test::SetBoard;

namespace {

class ComputerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rules_test::ResetGame();
        state.NoiseRange = 0;
    }

    static void ExpectMove(Cell cell, int i, int j) {
        EXPECT_EQ(cell.i, i);
        EXPECT_EQ(cell.j, j);
    }
};

TEST_F(ComputerTest, EmptyBoardOpensInTheCentreEachCellAQuarterOfTheTime) {
    const ScoreGrid scores = ScoreCells();
    for (int cell = 0; cell < 36; ++cell) {
        int through = 0;
        for (const Square& square : state.SquareTable)
            for (const SquareCorner c : square)
                through += CellIndex(c.i, c.j) == cell;
        EXPECT_EQ(scores[static_cast<std::size_t>(cell)], 2.0 * through) << "cell " << cell;
    }
    EXPECT_EQ(scores[0], 10.0);
    EXPECT_EQ(scores[static_cast<std::size_t>(CellIndex(3, 4))], 34.0);

    std::array<int, 36> chosen{};
    constexpr int kRuns = 4000;
    for (int run = 0; run < kRuns; ++run) {
        const Cell cell = ChooseComputerMove();
        ++chosen[static_cast<std::size_t>(CellIndex(cell.i, cell.j))];
    }
    for (const auto& [i, j] : {std::pair{3, 3}, {3, 4}, {4, 3}, {4, 4}}) {
        const int count = chosen[static_cast<std::size_t>(CellIndex(i, j))];
        EXPECT_NEAR(count, kRuns / 4, 150) << "(" << i << ", " << j << ")";
    }
    EXPECT_EQ(chosen[14] + chosen[15] + chosen[20] + chosen[21], kRuns);
}

TEST_F(ComputerTest, EachSquareWeighsByThePiecesOnIt) {
    // Every entry the same square: its empty corner (2, 1) then scores 105 w.
    state.SquareTable.fill({{{1, 1}, {1, 2}, {2, 2}, {2, 1}}});
    const std::pair<const char*, double> cases[] = {
        {"...", 2}, {"1..", 4}, {"11.", 7}, {"111", 200}, {"2..", 1},
        {"211", 1}, {"22.", 3}, {"221", 3}, {"222", 80},
    };
    for (const auto& [pieces, w] : cases) {
        state.Board.fill(0);
        BoardAt(1, 1) = pieces[0] == '.' ? 0 : pieces[0] - '0';
        BoardAt(1, 2) = pieces[1] == '.' ? 0 : pieces[1] - '0';
        BoardAt(2, 2) = pieces[2] == '.' ? 0 : pieces[2] - '0';
        EXPECT_EQ(ScoreCells()[static_cast<std::size_t>(CellIndex(2, 1))], 105 * w) << pieces;
        EXPECT_EQ(ScoreCells()[static_cast<std::size_t>(CellIndex(6, 6))], 0.0);
    }
}

TEST_F(ComputerTest, TakesAWinBlocksAThreatAndBlocksThreeThreatsBeforeWinning) {
    state.CurrentPlayer = 2;
    SetBoard("1....."
             "..1..."
             "1....."
             "......"
             "....22"
             "....2.");
    ExpectMove(ChooseComputerMove(), 6, 6);

    SetBoard("11...."
             "1....."
             "......"
             "...2.."
             "......"
             ".....2");
    EXPECT_GE(ScoreCells()[static_cast<std::size_t>(CellIndex(2, 2))], 80.0);
    ExpectMove(ChooseComputerMove(), 2, 2);

    // Three of the opponent's squares wait for (3, 3): 3 x 80 outweighs the win at (6, 6).
    SetBoard("..1..."
             ".111.."
             ".1.1.."
             "......"
             "....22"
             "....2.");
    ASSERT_EQ(CheckWin(), -1);
    const ScoreGrid scores = ScoreCells();
    EXPECT_GE(scores[static_cast<std::size_t>(CellIndex(6, 6))], 200.0);
    EXPECT_GE(scores[static_cast<std::size_t>(CellIndex(3, 3))], 240.0);
    ExpectMove(ChooseComputerMove(), 3, 3);
}

TEST_F(ComputerTest, EveryCallDrawsExactlyOnePerSquareAndOneForTheTie) {
    state.NoiseRange = 1000;
    for (const std::string_view board : {std::string_view{"......"
                                                          "......"
                                                          "......"
                                                          "......"
                                                          "......"
                                                          "......"},
                                         std::string_view{"12...."
                                                          "..21.."
                                                          "1....2"
                                                          "......"
                                                          ".2.1.."
                                                          "......"},
                                         rules_test::kFullBoardWithoutSquare}) {
        SetBoard(board);
        const std::uint64_t before = RandomDraws();
        const Cell cell = ChooseComputerMove();
        EXPECT_EQ(RandomDraws() - before, 106u);
        if (board == rules_test::kFullBoardWithoutSquare) {
            EXPECT_EQ(cell.i, -1) << "no move on a full board";
        } else {
            ASSERT_GE(CellIndex(cell.i, cell.j), 0);
            EXPECT_EQ(BoardAt(cell.i, cell.j), 0);
        }
    }
}

TEST_F(ComputerTest, NoiseRangeOneAndNegativePlayLikeZero) {
    const auto selfPlay = [](std::int32_t noise) {
        rules_test::ResetGame(7);
        state.SeatIsComputer = {false, true, true};
        state.NoiseRange = noise;
        std::vector<int> moves;
        do {
            ComputerChoice();
            moves.push_back(CellIndex(state.PendingCell.i, state.PendingCell.j));
            LandPendingMove(1000);
        } while (!state.GameOver && BoardHasEmptyCell());
        return moves;
    };
    const std::vector<int> zero = selfPlay(0);
    EXPECT_EQ(selfPlay(1), zero);
    EXPECT_EQ(selfPlay(-50), zero);
    EXPECT_NE(selfPlay(1000), zero);
}

TEST_F(ComputerTest, NoiseScalesWeightsDownButNeverBelowZero) {
    const ScoreGrid full = ScoreCells();
    for (const std::int32_t noise : {1000, 6000, INT_MAX}) {
        state.NoiseRange = noise;
        for (int run = 0; run < 200; ++run) {
            const ScoreGrid scores = ScoreCells();
            for (std::size_t cell = 0; cell < 36; ++cell) {
                EXPECT_LE(scores[cell], full[cell]);
                if (noise == 1000) {
                    ASSERT_GT(scores[cell], 0.0) << "a factor of at least 0.001 at 1000";
                } else {
                    ASSERT_GE(scores[cell], 0.0);
                }
            }
            const Cell cell = PickBestCell(scores);
            ASSERT_GE(CellIndex(cell.i, cell.j), 0);
        }
    }
}

TEST_F(ComputerTest, SquaresOffTheBoardAreIgnored) {
    state.SquareTable.fill({{{0, 0}, {7, 1}, {9, 9}, {3, 3}}});
    SetBoard("1.2..."
             "......"
             "......"
             "......"
             "......"
             "......");
    const ScoreGrid scores = ScoreCells();
    EXPECT_EQ(scores[static_cast<std::size_t>(CellIndex(3, 3))], 105 * 2.0);
    ExpectMove(ChooseComputerMove(), 3, 3);
}

TEST_F(ComputerTest, TiesAreDrawnOnceAmongTheBestCellsInBoardOrder) {
    // The best score shared by the first cell, two in the middle and the last.
    ScoreGrid scores{};
    scores.fill(3.0);
    const std::array<int, 4> best{0, 13, 22, 35};
    for (const int cell : best)
        scores[static_cast<std::size_t>(cell)] = 9.5;
    scores[7] = -10000000.0;
    std::array<int, 4> picked{};
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        SeedRandom(seed);
        const std::int32_t k = Random(4);
        SeedRandom(seed);
        const Cell cell = PickBestCell(scores);
        ASSERT_EQ(RandomDraws(), 1u) << "one draw per choice";
        ASSERT_EQ(CellIndex(cell.i, cell.j), best[static_cast<std::size_t>(k)]) << "seed " << seed;
        ++picked[static_cast<std::size_t>(k)];
    }
    for (const int count : picked)
        EXPECT_GT(count, 20) << "every tied cell is drawn";

    // A single best cell still costs its draw.
    scores.fill(1.0);
    scores[20] = 2.0;
    SeedRandom(5);
    const Cell only = PickBestCell(scores);
    EXPECT_EQ(RandomDraws(), 1u);
    EXPECT_EQ(CellIndex(only.i, only.j), 20);
}

TEST(NoiseRangeForSlider, MapsTheSliderRoundingHalvesToEven) {
    EXPECT_EQ(NoiseRangeForSlider(0), 10000);
    EXPECT_EQ(NoiseRangeForSlider(40), 6000);
    EXPECT_EQ(NoiseRangeForSlider(41), 1180);
    EXPECT_EQ(NoiseRangeForSlider(50), 1000);
    EXPECT_EQ(NoiseRangeForSlider(100), 0);
    EXPECT_EQ(NoiseRangeForSlider(99.875), 2);    // 2.5
    EXPECT_EQ(NoiseRangeForSlider(99.625), 8);    // 7.5
    EXPECT_EQ(NoiseRangeForSlider(39.995), 6000); // 6000.5
    EXPECT_EQ(NoiseRangeForSlider(39.985), 6002); // 6001.5
    EXPECT_EQ(NoiseRangeForSlider(-3), 10000);
    EXPECT_EQ(NoiseRangeForSlider(250), 0);
    EXPECT_EQ(NoiseRangeForSlider(std::nan("")), 10000);
}

} // namespace
