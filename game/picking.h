// Finding the board cell the cursor shows, with the transform the scene is drawn with.
#pragma once

#include <array>
#include <cstdint>

#include "game/state.h"
#include "render/pick_ray.h"

namespace game {

// The cursor in window pixels, origin at the bottom left, y upwards.
struct WindowCursor {
    double x = 0;
    double y = 0;
};

// The cell whose standing piece or stretch of the board's face the ray meets first: a cell
// reaches halfway to its neighbours, the outer ones as far beyond their centre; a piece is
// the model as drawn. (-1, -1) where the ray meets neither.
rules::Cell CellAlong(const render::SightRay& ray, const std::array<std::uint8_t, 36>& board);

// The cell under the cursor on the current board and view; (-1, -1) for none.
// Needs a current GL context with the scene's projection and viewport.
rules::Cell PickCell(WindowCursor cursor);

} // namespace game
