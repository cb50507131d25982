// The game's state: the board, the squares, whose turn it is, the pending move,
// and the view and panel values that the frame update keeps. All of it lives
// for the whole run; InitViewState and InitGameState give it its start values.
#pragma once

#include <array>
#include <cstdint>

namespace game {

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
extern std::array<std::uint8_t, 36> Board;             // cell (i, j) at (i-1)*6 + (j-1); 0..4

inline std::uint8_t& BoardAt(int i, int j) { return Board[(i - 1) * 6 + (j - 1)]; }

// Turn and rules.
extern std::int32_t CurrentPlayer;          // 1 or 2: whose turn; after a win, the winner
extern std::int32_t FirstPlayer;            // who moves first after NewGame
extern std::array<bool, 3> SeatIsComputer;  // indexed by player 1..2; [0] unused
extern bool GameOver;                       // a square was completed
extern std::int32_t MoveDelay;              // ms until the pending move lands; 0 = none
extern Cell PendingCell;                    // where the pending move lands
extern Cell HoverCell;                      // cell under the pointer; i = -1 for none
extern std::int32_t NoiseRange;             // range of the computer's random draw
extern double StrengthSlider;               // slider position 0..100
extern std::int32_t Pulse;                  // blink phase of the completed square, 0..1000
extern bool PulseRising;                    // Pulse is counting up

// Frame update: time, pointer, panel, slider, camera.
extern std::uint32_t LastTick;   // tick of the previous update; 0 = none
extern std::int32_t FrameTime;   // ms since the previous update
extern std::int32_t PointerX;    // pointer in the 1024 x 768 virtual screen, y upwards
extern std::int32_t PointerY;
extern std::int32_t MenuOffset;  // how far the panel is pulled in: 5 (closed) .. 200
extern bool HelpShown;           // the help picture covers the screen
extern bool SliderDragging;      // the strength knob is held
extern std::int32_t SliderDragX; // PointerX at the previous drag step
extern bool Rotating;            // the view is being turned with the right button
extern std::int32_t RotateAnchorX;
extern std::int32_t RotateAnchorY;
extern float CameraTilt; // degrees about X, -90..0 outside the panel zone
extern float CameraTurn; // degrees about the vertical axis

// Start values of the view and panel, set before the assets load.
void InitViewState();
// Start values of the game, set after the assets have loaded.
void InitGameState();

} // namespace game
