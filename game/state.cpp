#include "game/state.h"

namespace game {

std::array<Square, kSquareCount> SquareTable{};
std::array<std::uint8_t, 36> Board{};

std::int32_t CurrentPlayer = 1;
std::int32_t FirstPlayer = 1;
std::array<bool, 3> SeatIsComputer{false, false, true};
bool GameOver = false;
std::int32_t MoveDelay = 0;
Cell PendingCell{};
Cell HoverCell{};
std::int32_t NoiseRange = 1000;
double StrengthSlider = 50.0;
std::int32_t Pulse = 0;
bool PulseRising = true;

std::uint32_t LastTick = 0;
std::int32_t FrameTime = 0;
std::int32_t PointerX = 0;
std::int32_t PointerY = 0;
std::int32_t MenuOffset = 5;
bool HelpShown = false;
bool SliderDragging = false;
std::int32_t SliderDragX = 0;
bool Rotating = false;
std::int32_t RotateAnchorX = 0;
std::int32_t RotateAnchorY = 0;
float CameraTilt = -45.0f;
float CameraTurn = 45.0f;

void InitViewState() {
    HelpShown = false;
    MenuOffset = 5;
    GameOver = false;
    CameraTilt = -45.0f;
    CameraTurn = 45.0f;
    SliderDragging = false;
    Rotating = false;
    HoverCell = Cell{};
}

void InitGameState() {
    Board.fill(kEmpty);
    LastTick = 0;
    SeatIsComputer = {false, false, true};
    FirstPlayer = 1;
    MoveDelay = 0;
    CurrentPlayer = 1;
    Pulse = 0;
    PulseRising = true;
    StrengthSlider = 50.0;
    NoiseRange = 1000;
}

} // namespace game
