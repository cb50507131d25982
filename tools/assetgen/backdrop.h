// The backdrop behind the board.
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

// Dark felt that tiles seamlessly. The game shows it repeated twice each way with the tile
// corner in the middle of the screen, so the glow round the corners becomes one soft pool of
// light behind the board.
Canvas Backdrop(int size);

} // namespace assetgen
