// Helpers shared by the rule tests: a fresh game over the full table, and positions
// written as 36 characters ('.', '1', '2'), six per row i, column j within a row.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "game/random.h"
#include "game/squares.h"
#include "game/state.h"

namespace rules_test {

inline void ResetGame(std::uint64_t seed = 1) {
    game::SquareTable = game::DeriveSquares();
    game::InitViewState();
    game::InitGameState();
    game::SeedRandom(seed);
}

inline void SetBoard(std::string_view cells) {
    for (std::size_t n = 0; n < game::Board.size(); ++n)
        game::Board[n] = cells[n] == '.' ? 0 : static_cast<std::uint8_t>(cells[n] - '0');
}

// Table number (1..105) of the square with these corners in any order; 0 when none.
inline int SquareNumber(std::initializer_list<game::SquareCorner> corners) {
    for (int n = 0; n < game::kSquareCount; ++n) {
        const game::Square& square = game::SquareTable[static_cast<std::size_t>(n)];
        const bool same = std::all_of(corners.begin(), corners.end(), [&](game::SquareCorner c) {
            return std::any_of(square.begin(), square.end(),
                               [&](game::SquareCorner s) { return s.i == c.i && s.j == c.j; });
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
