// The computer's move and the win test on boards from empty to nearly full.
#include <benchmark/benchmark.h>

#include <string_view>

#include "rules/computer.h"
#include "rules/random.h"
#include "rules/rules.h"
#include "rules/squares.h"
#include "rules/state.h"

namespace {

constexpr std::string_view kEmptyBoard = "......"
                                         "......"
                                         "......"
                                         "......"
                                         "......"
                                         "......";
constexpr std::string_view kMidGame = "1..2.."
                                      ".21..1"
                                      "..12.."
                                      "2..1.2"
                                      ".1..2."
                                      "......";
// Two empty cells, no square held by either player.
constexpr std::string_view kNearlyFull = "121212"
                                         "22111."
                                         "122122"
                                         "221221"
                                         "11112."
                                         "212121";

void SetUp(std::string_view cells, std::int32_t noise) {
    rules::ResetRulesState();
    rules::state.SquareTable = rules::DeriveSquares();
    rules::SeedRandom(12345);
    for (std::size_t n = 0; n < rules::state.Board.size(); ++n)
        rules::state.Board[n] = cells[n] == '.' ? 0 : static_cast<std::uint8_t>(cells[n] - '0');
    rules::state.CurrentPlayer = 2;
    rules::state.NoiseRange = noise;
}

void ChooseMove(benchmark::State& state, std::string_view cells) {
    SetUp(cells, static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::ChooseComputerMove());
}

void CheckWinWithoutSquare(benchmark::State& state) {
    SetUp(kNearlyFull, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::CheckWin());
}

void RandomDraw(benchmark::State& state) {
    rules::SeedRandom(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::Random(1000));
}

} // namespace

BENCHMARK_CAPTURE(ChooseMove, empty, kEmptyBoard)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(ChooseMove, mid_game, kMidGame)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(ChooseMove, nearly_full, kNearlyFull)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK(CheckWinWithoutSquare);
BENCHMARK(RandomDraw);

BENCHMARK_MAIN();
