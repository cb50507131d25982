// Drawing one frame: the 3-D scene in perspective, then the 2-D overlay in the
// 1024 x 768 virtual screen. Also the scene camera that picking shares.
#pragma once

#include "render/frame_view.h"

namespace render {

inline constexpr float kModelScale = 0.1f; // scene units per unit of the board's and piece's models

// Draws the whole frame as described; changes nothing but GL state.
// Leaves the scene's perspective, an identity model-view, lighting and texturing on.
void DrawScene(const FrameView& view);

// Where board index k (1..6) lies along its axis: six places 0.9 apart around the centre.
float CellOffset(int k);

// Model-view := the scene camera: 10 units back, tilted about X, turned about Z.
void ApplySceneCamera(const Camera& camera);

} // namespace render
