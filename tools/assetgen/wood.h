// Procedural wood: the board's picture and the pieces' picture.
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

// The board's surface, covering the board from -27.5 to 27.5 once: glued planks, a darker
// frame on the rounded edge with a light inlaid line inside it, and a shaded rim on each
// hollow. Top row is the board's far edge (y = 27.5).
Canvas BoardWood(int size);

// The pieces' surface: pale end grain whose ring centre lies off the piece, so a piece's
// top shows gentle arcs and its sides straight grain.
Canvas PieceWood(int size);

} // namespace assetgen

namespace assetgen {

// A point of dark walnut, `along` and `across` its grain in board units; for the pictures of
// the panel, the tab, the help page and the splash.
Rgb Walnut(std::uint32_t seed, float along, float across);

} // namespace assetgen
