// The perfect player's answer, from the empty board to the slowest positions found, those the
// table answers and those it leaves to the search. Each call starts afresh: nothing is kept
// from one answer to the next.
#include <benchmark/benchmark.h>

#include <random>
#include <string_view>

#include "rules/computer.h"
#include "rules/perfect.h"
#include "rules/rules.h"
#include "rules/squares.h"
#include "rules/state.h"

namespace {

// Six rows of six cells ('.', '1', '2'), split by '/'.
std::array<std::uint8_t, 36> Cells(std::string_view rows) {
    std::array<std::uint8_t, 36> cells{};
    std::size_t n = 0;
    for (const char c : rows)
        if (c != '/' && n < cells.size())
            cells[n++] = c == '.' ? 0 : static_cast<std::uint8_t>(c - '0');
    return cells;
}

void SetUp() {
    rules::ResetRulesState();
    rules::state.SquareTable = rules::DeriveSquares();
}

void Hint(benchmark::State& state, std::string_view rows, std::int32_t player) {
    SetUp();
    const std::array<std::uint8_t, 36> board = Cells(rows);
    rules::Hint hint;
    for (auto _ : state) {
        hint = rules::PerfectHint(board, player);
        benchmark::DoNotOptimize(hint);
    }
    const char* outcome = hint.outcome == rules::Outcome::Win    ? "win"
                          : hint.outcome == rules::Outcome::Loss ? "loss"
                                                                 : "open";
    state.SetLabel(std::to_string(hint.cell.i) + "," + std::to_string(hint.cell.j) + " " + outcome +
                   " " + std::to_string(hint.moves));
    state.counters["positions"] = static_cast<double>(hint.positions);
}

// The full-strength computer's choice on the same middle game: a baseline from the same run,
// for comparing runs on a shared machine.
void ComputerBaseline(benchmark::State& state) {
    SetUp();
    rules::state.Board = Cells("2...../.....1/..21../..2.../...2../1....1");
    rules::state.CurrentPlayer = 1;
    rules::state.NoiseRange = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::ChooseComputerMove());
}

// Every position of random games, one answer each: the cost of a typical answer.
void RandomGames(benchmark::State& state) {
    SetUp();
    std::mt19937 rng(7);
    std::int64_t answers = 0;
    for (auto _ : state) {
        std::array<std::uint8_t, 36> board{};
        std::int32_t player = 1;
        for (int move = 0; move < 36; ++move) {
            benchmark::DoNotOptimize(rules::PerfectHint(board, player));
            ++answers;
            std::array<int, 36> empty{};
            int count = 0;
            for (int cell = 0; cell < 36; ++cell)
                if (board[static_cast<std::size_t>(cell)] == 0)
                    empty[static_cast<std::size_t>(count++)] = cell;
            board[static_cast<std::size_t>(empty[rng() % static_cast<unsigned>(count)])] =
                static_cast<std::uint8_t>(player);
            rules::state.Board = board;
            if (rules::CheckWin() > 0) break;
            player = 3 - player;
        }
    }
    state.counters["answers"] =
        benchmark::Counter(static_cast<double>(answers), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(Hint, empty, "....../....../....../....../....../......", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, mid_game, "2...../.....1/..21../..2.../...2../1....1", 1)
    ->Unit(benchmark::kMillisecond);
// Two threats of player 2: every move loses at once, and the computer's scores pick one.
BENCHMARK_CAPTURE(Hint, many_ties, "1..1../.....1/.1..1./....22/22..2./2.....", 1)
    ->Unit(benchmark::kMillisecond);
// A lone piece of the other side.
BENCHMARK_CAPTURE(Hint, lone_piece, "....../....../....../....../....../.1....", 2)
    ->Unit(benchmark::kMillisecond);
// The slowest to search before the table: of every position with up to four pieces in any
// image, with three and with two. The table answers them now.
BENCHMARK_CAPTURE(Hint, slowest_four_pieces, "1....1/....../....../.2..2./....../......", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, slowest_three_pieces, "....../....../....../....../.....2/1...1.", 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, slow_three_pieces, ".2..../1...../....../....../....../1.....", 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, slowest_two_pieces, "....../....../....../....../....../...2.1", 1)
    ->Unit(benchmark::kMillisecond);
// The slowest the table leaves to the search: of every position with up to four pieces in
// any image, of a sample of five, and of any found, one that no game reaches.
BENCHMARK_CAPTURE(Hint, slowest_searched, "2...../....../1...../.2..../....../......", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, slowest_five_pieces, "...12./....../...2../....../....../1...2.", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Hint, slowest_one_against_four, "2...../..2.../....../..1.../...2../2.....", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RandomGames)->Unit(benchmark::kMillisecond);
BENCHMARK(ComputerBaseline)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
