#include "rules/state.h"

namespace rules {

namespace {

// The start of every game: the variables' first values and ResetRulesState's.
constexpr struct {
    std::int32_t player = 1;
    std::array<bool, 3> seats{false, false, true};
    std::int32_t noiseRange = 1000;
} kStart;

} // namespace

std::array<Square, kSquareCount> SquareTable{};
std::array<std::uint8_t, 36> Board{};

std::int32_t CurrentPlayer = kStart.player;
std::int32_t FirstPlayer = kStart.player;
std::array<bool, 3> SeatIsComputer = kStart.seats;
bool GameOver = false;
std::int32_t MoveDelay = 0;
Cell PendingCell{};
std::int32_t NoiseRange = kStart.noiseRange;
std::int32_t Pulse = 0;
bool PulseRising = true;
std::array<Move, 36> Moves{};
std::int32_t MovesPlayed = 0;
std::int32_t MovesUndone = 0;
std::array<std::int32_t, 3> Wins{};

void ResetRulesState() {
    SquareTable = {};
    Board.fill(kEmpty);
    SeatIsComputer = kStart.seats;
    FirstPlayer = kStart.player;
    GameOver = false;
    MoveDelay = 0;
    PendingCell = Cell{};
    CurrentPlayer = kStart.player;
    Pulse = 0;
    PulseRising = true;
    NoiseRange = kStart.noiseRange;
    Moves = {};
    MovesPlayed = 0;
    MovesUndone = 0;
    Wins = {};
}

} // namespace rules
