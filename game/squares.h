// The 105 squares of the 6 x 6 board, derived from their side vectors.
#pragma once

#include <array>

#include "game/state.h"

namespace game {

// Every square whose corners are board cells, once each: by side-vector length a + b,
// then by side vector (a, b), then by position. Corners go round the square.
std::array<Square, kSquareCount> DeriveSquares();

} // namespace game
