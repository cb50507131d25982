// The computer player: one move deep, scored over the squares, blurred by NoiseRange.
#pragma once

#include <array>
#include <cstdint>

#include "rules/state.h"

namespace rules {

// One score per cell, indexed like Board.
using ScoreGrid = std::array<double, 36>;
// The share d (0..1) taken off each square's weight, by table entry.
using SquareDiscounts = std::array<double, kSquareCount>;

// Score of an occupied cell: below anything an empty cell can reach.
inline constexpr double kOccupiedScore = -10'000'000.0;

// The cell the computer takes for CurrentPlayer; i = -1 when no cell is empty.
Cell ChooseComputerMove();

// The two halves of ChooseComputerMove, for tools that show the scores.
// Scores every cell for CurrentPlayer with one draw per square, in table order.
ScoreGrid ScoreCells();
// Scores every cell of a board for a player over SquareTable, each square's weight scaled by
// 1 - its discount; no draws, no state changed. All discounts 0 give the full-strength scores.
ScoreGrid ScoreBoard(const std::array<std::uint8_t, 36>& board, std::int32_t player,
                     const SquareDiscounts& discounts);
// The best-scoring empty cell, a tie broken by one draw; i = -1 when no cell is empty.
Cell PickBestCell(const ScoreGrid& scores);

// NoiseRange for a slider position (clamped to 0..100), rounded half to even.
std::int32_t NoiseRangeForSlider(double slider);
// Sets NoiseRange for a slider position.
void SetStrength(double slider);

} // namespace rules
