// The scene's camera and where the board's cells lie under it: shared by the drawing of the
// scene, the marks on the board and the line of sight that picking follows.
#pragma once

#include "render/frame_view.h"

namespace render {

inline constexpr float kModelScale = 0.1f; // scene units per unit of the board's and piece's models

// Where board index k (1..6) lies along its axis: six places 0.9 apart around the centre.
float CellOffset(int k);

// Model-view := the scene camera: 10 units back, tilted about X, turned about Z.
void ApplySceneCamera(const Camera& camera);

} // namespace render
