// The rules layer's state: the board, the squares, whose turn it is, the pending move, the
// pulse of a completed square, the moves and the score. It lives for the whole run;
// ResetRulesState gives all of it its start values, and only functions of this layer write it.
// The random generator keeps its own (rules/random.cpp), which only seeding resets.
#pragma once

#include <array>
#include <cstdint>

namespace rules {

inline constexpr int kSquareCount = 105;
inline constexpr std::int32_t kMoveDelayMs = 1000;

// A board cell (i, j), each 1..6; i = -1 means no cell.
struct Cell {
    std::int32_t i = -1;
    std::int32_t j = -1;
};

struct SquareCorner {
    std::uint8_t i = 0;
    std::uint8_t j = 0;
};

using Square = std::array<SquareCorner, 4>;

// Cell values on the board.
inline constexpr std::uint8_t kEmpty = 0;

// A move that landed: where, and whose.
struct Move {
    Cell cell;
    std::int32_t player = 0;
};

struct State {
    std::array<Square, kSquareCount> SquareTable{}; // the winning squares, in file order
    std::array<std::uint8_t, 36> Board{};           // cell (i, j) at (i-1)*6 + (j-1); 0..4

    // Turn and rules.
    std::int32_t CurrentPlayer = 1; // 1 or 2: whose turn; after a win, the winner
    std::int32_t FirstPlayer = 1;   // who moves first after NewGame
    std::array<bool, 3> SeatIsComputer{false, false, true}; // indexed by player 1..2; [0] unused
    bool GameOver = false;                                  // a square was completed
    std::int32_t MoveDelay = 0;     // ms until the pending move lands; 0 = none
    Cell PendingCell;               // where the pending move lands
    std::int32_t NoiseRange = 1000; // range of the computer's random draw
    std::int32_t Pulse = 0;         // blink phase of the completed square, 0..1000
    bool PulseRising = true;        // Pulse is counting up

    // The moves of this game in the order they landed, then those an undo took back and a redo
    // can put back; every cell is played at most once, so 36 entries always suffice.
    std::array<Move, 36> Moves{};
    std::int32_t MovesPlayed = 0; // Moves[0 .. MovesPlayed) stand on the board
    std::int32_t MovesUndone = 0; // Moves[MovesPlayed .. MovesPlayed + MovesUndone) can be redone
    std::array<std::int32_t, 3> Wins{}; // games won by player 1..2 since the program started
};
extern State state;

inline std::uint8_t& BoardAt(int i, int j) {
    return state.Board[(i - 1) * 6 + (j - 1)];
}

// Start values of every member, SquareTable emptied until a board definition loads. The random
// generator (rules/random.h) is not part of it: its seeding survives the reset.
void ResetRulesState();

} // namespace rules
