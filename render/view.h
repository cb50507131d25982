// The GL state every frame starts from: viewport, perspective, depth clearing and light 1, kept
// in render::state.
#pragma once

#include <array>
#include <cstdint>

#include "render/state.h"

namespace render {

inline constexpr double kFieldOfViewDegrees = 45.0; // the perspective's, vertical, from 4:3 wider

extern const std::array<float, 4> LightAmbient;
extern const std::array<float, 4> LightDiffuse;

// The one-time GL set-up of the scene for a client of this size, starting from
// ResetRenderState (render/state.h); needs a current context.
void SetUpGlState(int width, int height);
// Viewport and perspective for a new client size; a height of 0 counts as 1.
void ResizeScene(int width, int height);
void SetClearDepth(float depth);

// The vertical field of view for a client of this shape: 45 degrees from 4:3 wider; on a
// narrower client as wide as it is at 4:3, so the whole board still shows side to side.
double FieldOfViewDegrees(int width, int height);
// gluPerspective for a client of this shape onto the current matrix.
void MultPerspective(int width, int height);

// The light as the scene uses it, given to light 1.
void ApplyLightPosition();

} // namespace render
