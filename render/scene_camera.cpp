#include "render/scene_camera.h"

#include <GL/gl.h>

namespace render {

float CellOffset(int k) {
    return (9.0f * static_cast<float>(k) - 31.5f) / 10.0f;
}

void ApplySceneCamera(const Camera& camera) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glRotatef(camera.tilt, 1.0f, 0.0f, 0.0f);
    glRotatef(camera.turn, 0.0f, 0.0f, 1.0f);
}

} // namespace render
