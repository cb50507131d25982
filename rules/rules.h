// The win test and the turn flow that the frame update runs each frame.
#pragma once

#include <cstdint>

#include "rules/state.h"

namespace rules {

// Whether the seat of this player is the computer's; no seat beyond players 1 and 2.
bool IsComputerSeat(std::int32_t player);

// True while at least one cell of Board is empty.
bool BoardHasEmptyCell();

// Number (1..105) of the first completed square, whose corners are then marked; or -1.
std::int32_t CheckWin();

// The computer's seat is to move and has not chosen: no move pending, the game on, a cell free.
bool ComputerToMove();

// The turn flow's three steps, run in this order once per frame.
void LandPendingMove(std::int32_t frameTime);
void ComputerChoice();
void HumanChoice(bool leftButtonDown, Cell hover);

// Puts CurrentPlayer's piece on an empty cell, notes the move, and either ends the game with a
// square or passes the turn: the landing of a pending move, and a redo.
void LandMove(Cell move);

// Clears the board and drops a pending move; seats, first player and strength stay.
void NewGame();

// The settings the panel and its keys change; each takes effect from the next choice or game.
void ToggleSeat(std::int32_t player); // player 1 or 2: person <-> computer; others ignored
void SetFirstPlayer(std::int32_t player);
void ToggleFirstPlayer();

// Moves Pulse on by the frame time, turning at 0 and 1000.
void AdvancePulse(std::int32_t frameTime);

} // namespace rules
