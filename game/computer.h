// The computer player: one move deep, scored over the squares, blurred by NoiseRange.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace game {

// The cell the computer takes for CurrentPlayer; needs at least one empty cell.
Cell ChooseComputerMove();

// NoiseRange for a slider position 0..100, rounded half to even.
std::int32_t NoiseRangeForSlider(double slider);

} // namespace game
