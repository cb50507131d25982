#include "rules/state.h"

namespace rules {

std::array<Square, kSquareCount> SquareTable{};
std::array<std::uint8_t, 36> Board{};

std::int32_t CurrentPlayer = 1;
std::int32_t FirstPlayer = 1;
std::array<bool, 3> SeatIsComputer{false, false, true};
bool GameOver = false;
std::int32_t MoveDelay = 0;
Cell PendingCell{};
std::int32_t NoiseRange = 1000;
std::int32_t Pulse = 0;
bool PulseRising = true;

void InitGameState() {
    Board.fill(kEmpty);
    SeatIsComputer = {false, false, true};
    FirstPlayer = 1;
    MoveDelay = 0;
    CurrentPlayer = 1;
    Pulse = 0;
    PulseRising = true;
    NoiseRange = 1000;
}

} // namespace rules
