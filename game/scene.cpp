#include "game/scene.h"

#include <GL/gl.h>

namespace game {

void DrawScene() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

WindowPoint ProjectCellPoint(int, int, const engine::TVector3&) { return {}; }

} // namespace game
