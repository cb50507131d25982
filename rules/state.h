// The rules layer's state, all of it: the board, the squares, whose turn it is, the pending
// move and the pulse of a completed square. It lives for the whole run; ResetRulesState gives
// all of it its start values, and only functions of this layer write it.
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

extern std::array<Square, kSquareCount> SquareTable; // the winning squares, in file order
extern std::array<std::uint8_t, 36> Board;           // cell (i, j) at (i-1)*6 + (j-1); 0..4

inline std::uint8_t& BoardAt(int i, int j) {
    return Board[(i - 1) * 6 + (j - 1)];
}

// Turn and rules.
extern std::int32_t CurrentPlayer;         // 1 or 2: whose turn; after a win, the winner
extern std::int32_t FirstPlayer;           // who moves first after NewGame
extern std::array<bool, 3> SeatIsComputer; // indexed by player 1..2; [0] unused
extern bool GameOver;                      // a square was completed
extern std::int32_t MoveDelay;             // ms until the pending move lands; 0 = none
extern Cell PendingCell;                   // where the pending move lands
extern std::int32_t NoiseRange;            // range of the computer's random draw
extern std::int32_t Pulse;                 // blink phase of the completed square, 0..1000
extern bool PulseRising;                   // Pulse is counting up

// A move that landed: where, and whose.
struct Move {
    Cell cell;
    std::int32_t player = 0;
};
// The moves of this game in the order they landed, then those an undo took back and a redo
// can put back; every cell is played at most once, so 36 entries always suffice.
extern std::array<Move, 36> Moves;
extern std::int32_t MovesPlayed; // Moves[0 .. MovesPlayed) stand on the board
extern std::int32_t MovesUndone; // Moves[MovesPlayed .. MovesPlayed + MovesUndone) can be redone
extern std::array<std::int32_t, 3> Wins; // games won by player 1..2 since the program started

// Start values of every variable above, SquareTable emptied until a board definition loads.
void ResetRulesState();

} // namespace rules
