// Finding the board cell under the cursor with the transform the scene is drawn with.
#pragma once

#include "game/state.h"

namespace game {

// The cursor in window pixels, origin at the bottom left, y upwards.
struct WindowCursor {
    double x = 0;
    double y = 0;
};

// The first cell, i varying fastest, whose hit box strictly holds the cursor; (-1, -1) for none.
// Needs a current GL context with the scene's projection and viewport.
rules::Cell PickCell(WindowCursor cursor);

} // namespace game
