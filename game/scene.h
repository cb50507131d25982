// Drawing one frame: the 3-D scene, then the 2-D overlay.
#pragma once

#include "engine/store.h"

namespace game {

void DrawScene();

struct WindowPoint {
    double x = 0, y = 0, z = 0;
};

// Window position of a model-space point above cell (i, j) under the scene camera.
WindowPoint ProjectCellPoint(int i, int j, const engine::TVector3& point);

} // namespace game
