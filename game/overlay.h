// The 2-D overlay over the scene: the menu tab, the panel with its buttons and
// knob, and the help picture, layered by depth in the virtual screen.
#pragma once

namespace game {

// Draws the overlay with an orthographic projection over the whole viewport.
void DrawOverlay();

} // namespace game
