// Helpers shared by the rule tests: a fresh game over the full table, and positions
// written as 36 characters ('.', '1', '2'), six per row i, column j within a row.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "rules/random.h"
#include "rules/squares.h"
#include "rules/state.h"

namespace rules_test {

inline void ResetGame(std::uint64_t seed = 1) {
    rules::ResetRulesState();
    rules::state.SquareTable = rules::DeriveSquares();
    rules::SeedRandom(seed);
}

inline void SetBoard(std::string_view cells) {
    for (std::size_t n = 0; n < rules::state.Board.size(); ++n)
        rules::state.Board[n] = cells[n] == '.' ? 0 : static_cast<std::uint8_t>(cells[n] - '0');
}

// Table number (1..105) of the square with these corners in any order; 0 when none.
inline int SquareNumber(std::initializer_list<rules::SquareCorner> corners) {
    for (int n = 0; n < rules::kSquareCount; ++n) {
        const rules::Square& square = rules::state.SquareTable[static_cast<std::size_t>(n)];
        const bool same = std::all_of(corners.begin(), corners.end(), [&](rules::SquareCorner c) {
            return std::any_of(square.begin(), square.end(),
                               [&](rules::SquareCorner s) { return s.i == c.i && s.j == c.j; });
        });
        if (same) return n + 1;
    }
    return 0;
}

// A full board on which neither player holds a square.
inline constexpr std::string_view kFullBoardWithoutSquare = "121212"
                                                            "221111"
                                                            "122122"
                                                            "221221"
                                                            "111122"
                                                            "212121";

} // namespace rules_test
