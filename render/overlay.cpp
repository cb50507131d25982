#include "render/overlay.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "render/texture.h"

namespace render {

namespace {

// A flat picture at one scale looks the same from its nearest mipmap level as from a blend of
// two, for half the texel reads where it shows smaller than its picture (the panel below 2048
// lines). Only a texture with mipmaps changes; GL ignores a value it already has.
void SampleNearestLevel() {
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    if (filter == GL_LINEAR_MIPMAP_LINEAR)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
}

// The edges go onto the pixel boundaries that decide which pixels the quad covers, and the
// texture coordinates along with them: the same pixels show the same texels, and with
// multisampling no pixel at an edge is part covered, so the pictures stay sharp.
void Quad(std::int32_t slot, const ScreenRect& r, float z) {
    if (r.x1 == r.x2 || r.y1 == r.y2) return;
    const auto snap = [](double v) { return std::ceil(v - 0.5); };
    const double x1 = snap(r.x1), x2 = snap(r.x2);
    const double y1 = snap(r.y1), y2 = snap(r.y2);
    const auto s = [&](double x) { return (x - r.x1) / (r.x2 - r.x1); };
    const auto t = [&](double y) { return (y - r.y1) / (r.y2 - r.y1); };
    BindTextureSlot(slot);
    SampleNearestLevel();
    glBegin(GL_QUADS);
    glTexCoord2d(s(x1), t(y1));
    glVertex3d(x1, y1, z);
    glTexCoord2d(s(x2), t(y1));
    glVertex3d(x2, y1, z);
    glTexCoord2d(s(x2), t(y2));
    glVertex3d(x2, y2, z);
    glTexCoord2d(s(x1), t(y2));
    glVertex3d(x1, y2, z);
    glEnd();
}

} // namespace

void DrawOverlay(const FrameView& view) {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glOrtho(0, viewport[2], 0, viewport[3], -1000, 1000);
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
