#include "game/rules.h"

namespace game {

std::int32_t CheckWin() { return -1; }
void LandPendingMove(std::int32_t) {}
void ComputerChoice() {}
void HumanChoice(bool, Cell) {}
void NewGame() {}

} // namespace game
