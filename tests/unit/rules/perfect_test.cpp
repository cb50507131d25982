#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "rules/computer.h"
#include "rules/perfect.h"
#include "rules/perfect_table.h"
#include "rules/perfect_table_data.h"
#include "rules/random.h"
#include "rules/rules.h"
#include "rules_helpers.h"

using namespace rules;
using rules_test::SetBoard;

namespace {

using Cells36 = std::array<std::uint8_t, 36>;

Cells36 Position(std::string_view cells) {
    SetBoard(cells);
    return state.Board;
}

// For each cell, the other three corners of every square through it.
using Corners = std::array<std::vector<std::array<int, 3>>, 36>;

Corners CornersOfSquareTable() {
    Corners corners;
    for (const Square& square : state.SquareTable)
        for (std::size_t k = 0; k < 4; ++k)
            corners[static_cast<std::size_t>(CellIndex(square[k].i, square[k].j))].push_back(
                {CellIndex(square[(k + 1) % 4].i, square[(k + 1) % 4].j),
                 CellIndex(square[(k + 2) % 4].i, square[(k + 2) % 4].j),
                 CellIndex(square[(k + 3) % 4].i, square[(k + 3) % 4].j)});
    return corners;
}

bool Completes(const Corners& corners, const Cells36& board, int cell, int player) {
    for (const auto& others : corners[static_cast<std::size_t>(cell)])
        if (std::all_of(others.begin(), others.end(),
                        [&](int c) { return board[static_cast<std::size_t>(c)] == player; }))
            return true;
    return false;
}

// Plain minimax over every continuation of a position with few empty cells, remembered by
// position: for the side to move 100 - p when its square comes on ply p, -(100 - p) when
// the other side's does, 0 when neither can force one.
class Reference {
  public:
    Reference(const Corners& corners, const Cells36& board) : corners_(corners), board_(board) {
        std::size_t size = 2;
        for (int cell = 0; cell < 36; ++cell)
            if (board[static_cast<std::size_t>(cell)] == 0) {
                free_.push_back(cell);
                size *= 3;
            }
        memo_.assign(size, kUnknown);
    }

    int Value(int player) {
        std::size_t key = static_cast<std::size_t>(player - 1);
        for (const int cell : free_)
            key = key * 3 + board_[static_cast<std::size_t>(cell)];
        if (memo_[key] != kUnknown) return memo_[key];
        int best = 0;
        bool moved = false;
        for (const int cell : free_)
            if (board_[static_cast<std::size_t>(cell)] == 0) {
                const int value = MoveValue(cell, player);
                best = moved ? std::max(best, value) : value;
                moved = true;
            }
        memo_[key] = static_cast<std::int8_t>(best);
        return best;
    }

    int MoveValue(int cell, int player) {
        if (Completes(corners_, board_, cell, player)) return 99;
        board_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(player);
        const int reply = Value(3 - player);
        board_[static_cast<std::size_t>(cell)] = 0;
        return reply > 0 ? 1 - reply : reply < 0 ? -reply - 1 : 0;
    }

  private:
    static constexpr std::int8_t kUnknown = -128;
    const Corners& corners_;
    Cells36 board_;
    std::vector<int> free_;
    std::vector<std::int8_t> memo_;
};

int ValueOf(const Hint& hint) {
    switch (hint.outcome) {
    case Outcome::Win:
        return 100 - (2 * hint.moves - 1);
    case Outcome::Loss:
        return -(100 - 2 * hint.moves);
    case Outcome::Open:
        break;
    }
    return 0;
}

int Index(const Hint& hint) {
    return CellIndex(hint.cell.i, hint.cell.j);
}

class PerfectTest : public ::testing::Test {
  protected:
    void SetUp() override { rules_test::ResetGame(); }
};

TEST_F(PerfectTest, AgreesWithPlainMinimaxOnValueMoveAndTieBreak) {
    const Corners corners = CornersOfSquareTable();
    std::mt19937 rng(2024);
    int checked = 0;
    std::array<int, 3> outcomes{};
    while (checked < 400) {
        // Pieces placed at random, never completing a square and mostly blocking one.
        const int empty = 9 + checked % 4;
        Cells36 board{};
        int player = 1;
        bool stuck = false;
        for (int placed = 0; placed < 36 - empty && !stuck; ++placed) {
            std::vector<int> safe, blocks;
            for (int cell = 0; cell < 36; ++cell) {
                if (board[static_cast<std::size_t>(cell)] != 0 ||
                    Completes(corners, board, cell, player))
                    continue;
                safe.push_back(cell);
                if (Completes(corners, board, cell, 3 - player)) blocks.push_back(cell);
            }
            stuck = safe.empty();
            if (stuck) break;
            const std::vector<int>& from = !blocks.empty() && rng() % 8 != 0 ? blocks : safe;
            board[static_cast<std::size_t>(from[rng() % from.size()])] =
                static_cast<std::uint8_t>(player);
            player = 3 - player;
        }
        if (rng() % 4 == 0) player = 3 - player;
        // Mostly positions the mover cannot win at once.
        bool atOnce = false;
        for (int cell = 0; cell < 36 && !stuck; ++cell)
            atOnce = atOnce || (board[static_cast<std::size_t>(cell)] == 0 &&
                                Completes(corners, board, cell, player));
        if (stuck || (atOnce && rng() % 6 != 0)) continue;

        Reference reference(corners, board);
        const int value = reference.Value(player);
        const Hint hint = PerfectHint(board, player);
        ++checked;
        ++outcomes[static_cast<std::size_t>(hint.outcome)];
        ASSERT_EQ(ValueOf(hint), value) << "position " << checked;
        // The move keeps the value, and is the one the computer scores highest among those.
        const ScoreGrid scores = ScoreBoard(board, player, SquareDiscounts{});
        int want = -1;
        for (int cell = 0; cell < 36; ++cell)
            if (board[static_cast<std::size_t>(cell)] == 0 &&
                reference.MoveValue(cell, player) == value &&
                (want < 0 ||
                 scores[static_cast<std::size_t>(cell)] > scores[static_cast<std::size_t>(want)]))
                want = cell;
        ASSERT_EQ(Index(hint), want) << "position " << checked;
    }
    EXPECT_GT(outcomes[static_cast<std::size_t>(Outcome::Win)], 40);
    EXPECT_GT(outcomes[static_cast<std::size_t>(Outcome::Loss)], 30);
}

TEST_F(PerfectTest, WinsBlocksAndSeesATwoFoldThreatAsLost) {
    // Player 2 completes (6, 6); player 1's three squares on (3, 3) come too late.
    Hint hint = PerfectHint(Position("..1..."
                                     ".111.."
                                     ".1.1.."
                                     "......"
                                     "....22"
                                     "....2."),
                            2);
    EXPECT_EQ(Index(hint), CellIndex(6, 6));
    EXPECT_EQ(hint.outcome, Outcome::Win);
    EXPECT_EQ(hint.moves, 1);

    // Player 1 must block (3, 3) first; anything else loses at once.
    hint = PerfectHint(Position("22...."
                                "2....."
                                "......"
                                "....1."
                                "......"
                                "1....."),
                       1);
    EXPECT_EQ(Index(hint), CellIndex(2, 2));
    EXPECT_FALSE(hint.outcome == Outcome::Loss && hint.moves == 1);

    // Two cells complete player 2's squares: whatever player 1 blocks, it loses next move.
    hint = PerfectHint(Position("1..1.."
                                ".....1"
                                ".1..1."
                                "....22"
                                "22..2."
                                "2....."),
                       1);
    EXPECT_EQ(hint.outcome, Outcome::Loss);
    EXPECT_EQ(hint.moves, 1);
    EXPECT_EQ(Index(hint), CellIndex(6, 2)) << "the block the computer scores highest";

    // The last cell completes no square for player 1 but one for player 2.
    constexpr std::string_view kLastCell = "121212"
                                           "221111"
                                           "122122"
                                           "221221"
                                           "111122"
                                           "21212.";
    hint = PerfectHint(Position(kLastCell), 1);
    EXPECT_EQ(Index(hint), 35);
    EXPECT_EQ(hint.outcome, Outcome::Open);
    EXPECT_EQ(PerfectHint(Position(kLastCell), 2).outcome, Outcome::Win);
}

TEST_F(PerfectTest, EmptyBoardIsWonFromEveryFirstCellButTheCorners) {
    const Hint hint = PerfectHint(Cells36{}, 1);
    ASSERT_EQ(hint.outcome, Outcome::Win);
    EXPECT_LE(hint.moves, 5) << "the first player's fifth piece at the latest";
    EXPECT_GT(hint.positions, 0);
    int soonest = 99;
    for (int cell = 0; cell < 36; ++cell) {
        Cells36 board{};
        board[static_cast<std::size_t>(cell)] = 1;
        const Hint reply = PerfectHint(board, 2);
        const bool corner = (cell / 6 == 0 || cell / 6 == 5) && (cell % 6 == 0 || cell % 6 == 5);
        EXPECT_EQ(reply.outcome, corner ? Outcome::Win : Outcome::Loss) << "cell " << cell;
        if (reply.outcome == Outcome::Loss) soonest = std::min(soonest, reply.moves);
        if (cell == Index(hint)) {
            EXPECT_EQ(reply.moves, hint.moves - 1);
        }
    }
    EXPECT_EQ(soonest, hint.moves - 1);
}

TEST_F(PerfectTest, LonePieceAnswersMatchTheSearchOfThePositionsAfterThem) {
    // With one piece on the board, the answer comes from a table; the replies to it are
    // searched. The answer's move must be the best reply, first among equals.
    for (int lone = 0; lone < 36; ++lone) {
        Cells36 board{};
        board[static_cast<std::size_t>(lone)] = 1;
        const Hint hint = PerfectHint(board, 2);
        const ScoreGrid scores = ScoreBoard(board, 2, SquareDiscounts{});
        int best = -1000;
        int bestCell = -1;
        for (int cell = 0; cell < 36; ++cell) {
            if (cell == lone) continue;
            board[static_cast<std::size_t>(cell)] = 2;
            const int value = -ValueOf(PerfectHint(board, 1));
            board[static_cast<std::size_t>(cell)] = 0;
            const int replyValue = value > 0 ? value - 1 : value < 0 ? value + 1 : 0;
            if (replyValue > best ||
                (replyValue == best && scores[static_cast<std::size_t>(cell)] >
                                           scores[static_cast<std::size_t>(bestCell)])) {
                best = replyValue;
                bestCell = cell;
            }
        }
        EXPECT_EQ(ValueOf(hint), best) << "lone piece on " << lone;
        EXPECT_EQ(Index(hint), bestCell) << "lone piece on " << lone;
        // The same answer for the other colour.
        Cells36 swapped{};
        swapped[static_cast<std::size_t>(lone)] = 2;
        const Hint mirror = PerfectHint(swapped, 1);
        EXPECT_EQ(Index(mirror), Index(hint));
        EXPECT_EQ(ValueOf(mirror), ValueOf(hint));
    }
}

// The board turned by `transform` (bit 0 mirrors i, bit 1 mirrors j, bit 2 swaps them), with
// the colours swapped when `swapped`.
Cells36 Image(const Cells36& board, int transform, bool swapped) {
    Cells36 image{};
    for (int cell = 0; cell < 36; ++cell) {
        int i = cell / 6;
        int j = cell % 6;
        if ((transform & 1) != 0) i = 5 - i;
        if ((transform & 2) != 0) j = 5 - j;
        if ((transform & 4) != 0) std::swap(i, j);
        const std::uint8_t piece = board[static_cast<std::size_t>(cell)];
        image[static_cast<std::size_t>(i * 6 + j)] =
            static_cast<std::uint8_t>(swapped && piece != 0 ? 3 - piece : piece);
    }
    return image;
}

// A table key's board, player 1 to move.
Cells36 BoardOfKey(std::uint64_t key) {
    Cells36 board{};
    int bit = 36;
    for (int cell = 0; cell < 36; ++cell)
        if ((key >> cell & 1) != 0)
            board[static_cast<std::size_t>(cell)] = (key >> bit++ & 1) != 0 ? 2 : 1;
    return board;
}

TEST_F(PerfectTest, TableAnswersAreTheSearchsOnEveryImageOfAPosition) {
    ASSERT_GT(kPerfectTable.size(), 36u);
    for (std::size_t n = 1; n < kPerfectTable.size(); ++n)
        ASSERT_LT(kPerfectTable[n - 1].key, kPerfectTable[n].key) << "sorted, for the lookup";
    // The first entries (the lone pieces) and every eighth, each under a turn or mirror image
    // and in either colour: the table's move is the search's, ties broken on the board asked
    // about.
    for (std::size_t n = 0; n < kPerfectTable.size(); n += n < 8 ? 1 : 8) {
        const TableEntry& entry = kPerfectTable[n];
        const Cells36 keyed = BoardOfKey(entry.key);
        const std::optional<SearchedEntry> searched = SearchPerfectTableEntry(keyed, 1);
        ASSERT_TRUE(searched.has_value());
        EXPECT_EQ(searched->entry.key, entry.key);
        EXPECT_EQ(searched->entry.answer, entry.answer) << "entry " << n;
        const bool swapped = (n + n / 16) % 2 == 1;
        const Cells36 board = Image(keyed, static_cast<int>((n + n / 8) % 8), swapped);
        EXPECT_EQ(PerfectTableKey(board, swapped ? 2 : 1), entry.key);
        const Hint known = PerfectHint(board, swapped ? 2 : 1);
        const Hint search = SearchPerfectHint(board, swapped ? 2 : 1);
        EXPECT_EQ(known.positions, 0) << "entry " << n << " is answered from the table";
        EXPECT_EQ(Index(known), Index(search)) << "entry " << n;
        EXPECT_EQ(ValueOf(known), ValueOf(search)) << "entry " << n;
    }
}

// `count` pieces on distinct random cells, player 1's and player 2's in turn from `first`.
Cells36 RandomPieces(std::mt19937& rng, int count, int first) {
    std::array<int, 36> cells{};
    for (int cell = 0; cell < 36; ++cell)
        cells[static_cast<std::size_t>(cell)] = cell;
    std::shuffle(cells.begin(), cells.end(), rng);
    Cells36 board{};
    for (int n = 0; n < count; ++n)
        board[static_cast<std::size_t>(cells[static_cast<std::size_t>(n)])] =
            static_cast<std::uint8_t>((first - 1 + n) % 2 + 1);
    return board;
}

TEST_F(PerfectTest, TableKeyIsOnePerPositionWhateverItsImageOrColour) {
    std::mt19937 rng(31);
    for (int run = 0; run < 300; ++run) {
        const int player = 1 + run % 2;
        const Cells36 board = RandomPieces(rng, run % 6, 1 + run / 2 % 2);
        const std::optional<std::uint64_t> key = PerfectTableKey(board, player);
        ASSERT_TRUE(key.has_value()) << "run " << run;
        // The key's own board, player 1 to move, is the position again; so is every image of
        // the position, in either colour.
        EXPECT_EQ(PerfectTableKey(BoardOfKey(*key), 1), key);
        for (int transform = 0; transform < 8; ++transform) {
            EXPECT_EQ(PerfectTableKey(Image(board, transform, false), player), key);
            EXPECT_EQ(PerfectTableKey(Image(board, transform, true), 3 - player), key);
        }
    }
    EXPECT_FALSE(PerfectTableKey(RandomPieces(rng, kTablePieces + 1, 1), 1).has_value());
    EXPECT_FALSE(PerfectTableKey(Position("11...."
                                          "11...."
                                          "......"
                                          "......"
                                          "......"
                                          "......"),
                                 2)
                     .has_value());
    EXPECT_FALSE(PerfectTableKey(Cells36{}, 0).has_value());
    Cells36 marked{};
    marked[3] = 3;
    EXPECT_FALSE(PerfectTableKey(marked, 1).has_value());
    EXPECT_FALSE(SearchPerfectTableEntry(marked, 1).has_value());
}

TEST_F(PerfectTest, NoEarlyPositionOfAGameIsLeftToALongSearch) {
    // The table takes every position of up to five pieces that a game reaches and that any
    // image of costs the search more than this (tools/perfect_table); the rest, in any image
    // and either colour, cost no more. A search that grew slower needs the table anew.
    constexpr std::int64_t kSlowPositions = 12000;
    std::int64_t most = 0;
    for (int first = 0; first < 36; ++first)
        for (int second = 0; second < 36; ++second) {
            if (first == second) continue;
            Cells36 board{};
            board[static_cast<std::size_t>(first)] = 1;
            board[static_cast<std::size_t>(second)] = 2;
            for (const std::int32_t player : {1, 2})
                most = std::max(most, PerfectHint(board, player).positions);
        }
    std::mt19937 rng(17);
    for (int run = 0; run < 1500; ++run) {
        const std::int32_t player = 1 + run % 2;
        const Cells36 board = RandomPieces(rng, 3 + run % 3, 3 - player);
        most = std::max(most, PerfectHint(board, player).positions);
    }
    EXPECT_LE(most, kSlowPositions);
    EXPECT_GT(most, kSlowPositions / 2) << "the search still answers the rest";
}

TEST_F(PerfectTest, ChangesNoStateAndDrawsNoRandomNumber) {
    SetBoard("1..2.."
             ".21..1"
             "..12.."
             "2..1.2"
             ".1..2."
             "......");
    const Cells36 asked = state.Board;
    state.Board.fill(0);
    state.CurrentPlayer = 2;
    state.NoiseRange = 1000;
    SeedRandom(9);
    const std::int32_t next = Random(1000);
    SeedRandom(9);
    const Hint hint = PerfectHint(asked, 1);
    EXPECT_EQ(RandomDraws(), 0u);
    EXPECT_EQ(Random(1000), next);
    EXPECT_EQ(state.Board, Cells36{});
    EXPECT_EQ(state.CurrentPlayer, 2);
    EXPECT_EQ(state.NoiseRange, 1000);
    EXPECT_EQ(asked[static_cast<std::size_t>(Index(hint))], 0);
    // Asked again, the same answer.
    const Hint again = PerfectHint(asked, 1);
    EXPECT_EQ(Index(again), Index(hint));
    EXPECT_EQ(ValueOf(again), ValueOf(hint));
}

TEST_F(PerfectTest, NoMoveWhenTheGameIsOverOrTheInputIsBad) {
    const auto expectNone = [](const Cells36& board, std::int32_t player) {
        const Hint hint = PerfectHint(board, player);
        EXPECT_EQ(hint.cell.i, -1);
        EXPECT_EQ(hint.outcome, Outcome::Open);
        EXPECT_EQ(hint.moves, 0);
    };
    expectNone(Position(rules_test::kFullBoardWithoutSquare), 1);
    expectNone(Position("11...."
                        "11...."
                        "......"
                        "......"
                        "......"
                        "......"),
               2);
    Cells36 marked = Position("33...."
                              "33...."
                              "......"
                              "......"
                              "......"
                              "......");
    expectNone(marked, 1);
    marked[0] = 200;
    expectNone(marked, 1);
    for (const std::int32_t player : {0, 3, -1})
        expectNone(Cells36{}, player);
}

TEST_F(PerfectTest, PlaysOverTheSquaresOfTheTableItIsGiven) {
    // One square only: player 1 completes it, or with a piece of each on it nobody can.
    state.SquareTable.fill({{{1, 1}, {1, 2}, {2, 2}, {2, 1}}});
    Hint hint = PerfectHint(Position("11...."
                                     "1....."
                                     "......"
                                     "......"
                                     "......"
                                     "......"),
                            1);
    EXPECT_EQ(Index(hint), CellIndex(2, 2));
    EXPECT_EQ(hint.outcome, Outcome::Win);
    hint = PerfectHint(Position("1....."
                                "......"
                                "......"
                                "......"
                                "......"
                                "......"),
                       2);
    EXPECT_EQ(hint.outcome, Outcome::Open) << "the lone-piece table is for the game's squares";
    EXPECT_NE(hint.cell.i, -1);

    // Without one of the game's own squares, a position the table holds is searched.
    state.SquareTable = DeriveSquares();
    state.SquareTable[0] = state.SquareTable[1];
    EXPECT_GT(PerfectHint(BoardOfKey(kPerfectTable.front().key), 1).positions, 0);

    // Squares with a corner off the board can never be completed.
    state.SquareTable.fill({{{0, 0}, {7, 1}, {9, 9}, {3, 3}}});
    hint = PerfectHint(Cells36{}, 1);
    EXPECT_EQ(hint.outcome, Outcome::Open);
    EXPECT_EQ(Index(hint), CellIndex(3, 3)) << "still the computer's favourite";
}

TEST_F(PerfectTest, NoiselessScoresAreTheFullStrengthComputers) {
    std::mt19937 rng(5);
    state.NoiseRange = 0;
    for (int run = 0; run < 50; ++run) {
        for (std::uint8_t& cell : state.Board)
            cell = static_cast<std::uint8_t>(rng() % 3);
        state.CurrentPlayer = 1 + static_cast<std::int32_t>(rng() % 2);
        EXPECT_EQ(ScoreBoard(state.Board, state.CurrentPlayer, SquareDiscounts{}), ScoreCells());
    }
}

} // namespace
