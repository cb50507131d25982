// The computer player: one move deep, scored over the squares, blurred by NoiseRange.
#pragma once

#include <array>
#include <cstdint>

#include "rules/state.h"

namespace rules {

// One score per cell, indexed like Board.
using ScoreGrid = std::array<double, 36>;

// Score of an occupied cell: below anything an empty cell can reach.
inline constexpr double kOccupiedScore = -10'000'000.0;

// The cell the computer takes for CurrentPlayer; i = -1 when no cell is empty.
Cell ChooseComputerMove();

// The two halves of ChooseComputerMove, for tools that show the scores.
// Scores every cell for CurrentPlayer with one draw per square, in table order.
ScoreGrid ScoreCells();
// The best-scoring empty cell, a tie broken by one draw; i = -1 when no cell is empty.
Cell PickBestCell(const ScoreGrid& scores);

// NoiseRange for a slider position (clamped to 0..100), rounded half to even.
std::int32_t NoiseRangeForSlider(double slider);
// Sets NoiseRange for a slider position.
void SetStrength(double slider);

} // namespace rules
