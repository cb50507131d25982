#include "render/overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "render/texture.h"

namespace render {

namespace {

void Quad(std::int32_t slot, const ScreenRect& r, float z) {
    BindTextureSlot(slot);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3d(r.x1, r.y1, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3d(r.x2, r.y1, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3d(r.x2, r.y2, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3d(r.x1, r.y2, z);
    glEnd();
}

} // namespace

void DrawOverlay(const FrameView& view) {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kScreenRight, 0, kScreenTop, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // The quads are opaque, so drawing the nearest first lets the depth test skip whatever lies
    // behind them: the same picture as drawn back to front, for less fill.
    std::vector<const OverlayQuad*> nearestFirst;
    for (const OverlayQuad& quad : view.overlay)
        nearestFirst.push_back(&quad);
    std::ranges::stable_sort(nearestFirst, std::ranges::greater{},
                             [](const OverlayQuad* quad) { return quad->depth; });
    for (const OverlayQuad* quad : nearestFirst)
        Quad(quad->texture, quad->rect, quad->depth);
}

} // namespace render
