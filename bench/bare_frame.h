// The bare frame every frame cost is measured against: a clear and one quad covering the
// viewport with the bound texture, under whatever matrices and state are set.
#pragma once

#include <GL/gl.h>

namespace bench {

// Draws the bare frame's quad in the unit square; needs glOrtho(0, 1, 0, 1, ...) or the like.
inline void DrawBareQuad() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
}

} // namespace bench
