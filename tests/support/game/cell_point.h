// Where a point of a cell lands in the window, under the game's view as it stands: the transform
// the scene draws that cell's piece with, for tests and benchmarks that aim at what is drawn.
#pragma once

#include <GL/gl.h>

#include "engine/store.h"
#include "game/draw.h"
#include "render/scene_camera.h"
#include "tests/support/render/project.h"

namespace kxtest {

struct WindowPoint {
    double x = 0, y = 0, z = 0;
};

// Window position of a model-space point (engine axes) of cell (i, j); leaves the cell's
// transform as the model-view. Needs the scene's projection and viewport.
inline WindowPoint ProjectCellPoint(int i, int j, const engine::TVector3& point) {
    render::ApplySceneCamera(game::SceneCamera());
    glTranslatef(render::CellOffset(i), 0.0f, 0.0f);
    glTranslatef(0.0f, render::CellOffset(j), 0.0f);
    glScalef(render::kModelScale, render::kModelScale, render::kModelScale);
    WindowPoint w;
    ProjectToWindow(point, w.x, w.y, w.z);
    return w;
}

} // namespace kxtest
