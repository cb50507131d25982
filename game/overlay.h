// The 2-D overlay over the scene: the menu tab, the panel with its buttons and
// knob, and the help picture, layered by depth in the virtual screen.
#pragma once

#include <cstdint>

namespace game {

// Draws the overlay with an orthographic projection over the whole viewport.
void DrawOverlay();

// Binds the GL texture of a texture slot; no texture for -1 or a slot the store lacks.
void BindSlot(std::int32_t slot);

} // namespace game
