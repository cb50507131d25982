// The win test and the turn flow that the frame update runs each frame.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace game {

// Number (1..105) of the first completed square, whose corners are then marked; or -1.
std::int32_t CheckWin();

// The turn flow's three steps, run in this order once per frame.
void LandPendingMove(std::int32_t frameTime);
void ComputerChoice();
void HumanChoice(bool leftButtonDown, Cell hover);

// Clears the board and drops a pending move; seats, first player and strength stay.
void NewGame();

} // namespace game
