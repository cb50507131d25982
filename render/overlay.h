// The 2-D overlay over the scene: the quads of the menu tab, the panel with its buttons and
// knob, and the help picture, layered by depth, each on the window pixels the game gives it.
#pragma once

#include "render/frame_view.h"

namespace render {

// Draws the frame's overlay quads with an orthographic projection in the viewport's pixels.
void DrawOverlay(const FrameView& view);

} // namespace render
