// The 105 squares of the 6 x 6 board, derived from their side vectors.
#pragma once

#include <array>
#include <string>

#include "rules/state.h"

namespace rules {

// Every square whose corners are board cells, once each: by side-vector length a + b,
// then by side vector (a, b), then by position. Corners go round the square.
std::array<Square, kSquareCount> DeriveSquares();

// A square as a line of the board definition, without its line end: "(1,1)(1,2)(2,2)(2,1)".
std::string SquareLine(const Square& square);

} // namespace rules
