#include "rules/computer.h"

#include <cmath>

#include "rules/random.h"
#include "rules/rules.h"

namespace rules {

namespace {

// Weight of a square by its opponent pieces (row) and own pieces (column). Once the
// opponent is on a square only the opponent's count matters; four pieces leave no
// empty corner to score.
constexpr double kWeights[5][5] = {
    {2, 4, 7, 200, 0}, // open, building, the winning corner
    {1, 1, 1, 1, 0},   // touched by the opponent
    {3, 3, 3, 0, 0},   // the opponent builds on it
    {80, 80, 0, 0, 0}, // the corner that blocks the opponent's square
    {0, 0, 0, 0, 0},
};

} // namespace

ScoreGrid ScoreBoard(const std::array<std::uint8_t, 36>& board, std::int32_t player,
                     const SquareDiscounts& discounts) {
    ScoreGrid scores{};
    for (std::size_t cell = 0; cell < scores.size(); ++cell)
        scores[cell] = board[cell] == kEmpty ? 0.0 : kOccupiedScore;

    for (std::size_t n = 0; n < state.SquareTable.size(); ++n) {
        const Square& square = state.SquareTable[n];
        std::array<int, 4> cells{};
        int own = 0;
        int opponent = 0;
        for (std::size_t c = 0; c < 4; ++c) {
            cells[c] = CellIndex(square[c].i, square[c].j);
            if (cells[c] < 0) continue;
            const std::uint8_t value = board[static_cast<std::size_t>(cells[c])];
            if (value == kEmpty) continue;
            if (value == player) {
                ++own;
            } else {
                ++opponent;
            }
        }
        const double d = discounts[n];
        const double w = kWeights[opponent][own];
        for (const int cell : cells) {
            if (cell < 0 || board[static_cast<std::size_t>(cell)] != kEmpty) continue;
            double& score = scores[static_cast<std::size_t>(cell)];
            score = (score + w) - d * w;
        }
    }
    return scores;
}

ScoreGrid ScoreCells() {
    // One draw per square, whether or not it has an empty corner.
    SquareDiscounts discounts{};
    for (double& d : discounts) {
        d = Random(state.NoiseRange) / 1000.0;
        if (d > 1.0) d = 1.0;
    }
    return ScoreBoard(state.Board, state.CurrentPlayer, discounts);
}

Cell PickBestCell(const ScoreGrid& scores) {
    double best = -1.0;
    for (const double score : scores)
        if (score > best) best = score;

    // Cells in board order (i outer, j inner), which is the order of the grid.
    std::array<int, 36> candidates{};
    int count = 0;
    for (std::size_t cell = 0; cell < scores.size(); ++cell)
        if (scores[cell] == best)
            candidates[static_cast<std::size_t>(count++)] = static_cast<int>(cell);

    const std::int32_t k = Random(count);
    if (count == 0) return Cell{};
    const int cell = candidates[static_cast<std::size_t>(k)];
    return Cell{cell / 6 + 1, cell % 6 + 1};
}

Cell ChooseComputerMove() {
    return PickBestCell(ScoreCells());
}

std::int32_t NoiseRangeForSlider(double slider) {
    if (!(slider > 0.0)) slider = 0.0;
    if (slider > 100.0) slider = 100.0;
    const double range = slider > 40.0 ? (100.0 - slider) * 20.0 : (100.0 - slider) * 100.0;
    // The default rounding mode rounds halves to even.
    return static_cast<std::int32_t>(std::nearbyint(range));
}

void SetStrength(double slider) {
    state.NoiseRange = NoiseRangeForSlider(slider);
}

} // namespace rules
