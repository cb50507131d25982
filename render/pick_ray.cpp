#include "render/pick_ray.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "render/scene_camera.h"

namespace render {

bool SightThrough(const Camera& camera, double x, double y, SightRay& ray) {
    ApplySceneCamera(camera);
    GLint viewport[4];
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    auto& n = ray.nearPoint;
    auto& f = ray.farPoint;
    if (gluUnProject(x, y, 0.0, modelview, projection, viewport, &n[0], &n[1], &n[2]) != GL_TRUE ||
        gluUnProject(x, y, 1.0, modelview, projection, viewport, &f[0], &f[1], &f[2]) != GL_TRUE)
        return false;
    const auto finite = [](double v) { return std::isfinite(v); };
    return std::ranges::all_of(n, finite) && std::ranges::all_of(f, finite);
}

} // namespace render
