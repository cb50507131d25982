// The perfect player: what each side can force from a position, and the move that forces it.
#pragma once

#include <array>
#include <cstdint>

#include "rules/state.h"

namespace rules {

// What the side to move can force.
enum class Outcome {
    Open, // neither side can force a square (a full board stands)
    Win,  // the side to move completes a square whatever the other does
    Loss, // the other side completes a square whatever the side to move does
};

struct Hint {
    Cell cell;                       // the move; i = -1 when the game is over or the board full
    Outcome outcome = Outcome::Open; // with best play on both sides
    std::int32_t moves = 0;          // Win: the mover's moves up to the square, this one included;
                                     // Loss: the other side's moves up to its square; Open: 0
    std::int64_t positions = 0;      // positions searched to find it
};

// The best move for `player` (1 or 2) on `board` (laid out like Board, 0..2; a 3 or 4 means the
// game is over) over the squares of SquareTable: the soonest square it can force, else the
// longest the other side needs to force one, an open game before any loss. Among equal moves
// the one the full-strength computer scores highest, then the first with i outer, j inner.
// Over the game's own squares the early positions that take the search longest are answered
// from a table (rules/perfect_table.h) with the same result. Reads only its arguments,
// SquareTable and that table; no random draws.
Hint PerfectHint(const std::array<std::uint8_t, 36>& board, std::int32_t player);

} // namespace rules
