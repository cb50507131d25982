// The computer's move and the win test on boards from empty to nearly full.
#include <benchmark/benchmark.h>

#include <string_view>

#include "game/computer.h"
#include "game/random.h"
#include "game/rules.h"
#include "game/squares.h"
#include "game/state.h"

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
    game::SquareTable = game::DeriveSquares();
    game::InitGameState();
    game::SeedRandom(12345);
    for (std::size_t n = 0; n < game::Board.size(); ++n)
        game::Board[n] = cells[n] == '.' ? 0 : static_cast<std::uint8_t>(cells[n] - '0');
    game::CurrentPlayer = 2;
    game::NoiseRange = noise;
}

void ChooseMove(benchmark::State& state, std::string_view cells) {
    SetUp(cells, static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(game::ChooseComputerMove());
}

void CheckWinWithoutSquare(benchmark::State& state) {
    SetUp(kNearlyFull, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(game::CheckWin());
}

void RandomDraw(benchmark::State& state) {
    game::SeedRandom(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(game::Random(1000));
}

} // namespace

BENCHMARK_CAPTURE(ChooseMove, empty, kEmptyBoard)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(ChooseMove, mid_game, kMidGame)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK_CAPTURE(ChooseMove, nearly_full, kNearlyFull)->Arg(0)->Arg(1000)->Arg(10000);
BENCHMARK(CheckWinWithoutSquare);
BENCHMARK(RandomDraw);

BENCHMARK_MAIN();
