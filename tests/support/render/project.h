// Where a model point lands in the window, found by GL's own matrices: what tests and
// benchmarks aim at and compare the game's picking with.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/mesh.h"

namespace kxtest {

// Window coordinates of p under the current GL matrices and viewport; y and z are exchanged
// and the new z negated, the models' axes being z-up.
inline void ProjectToWindow(const engine::TVector3& p, double& windowX, double& windowY,
                            double& windowDepth) {
    GLint viewport[4];
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(p.x, p.z, -static_cast<double>(p.y), modelview, projection, viewport, &windowX,
               &windowY, &windowDepth);
}

} // namespace kxtest
