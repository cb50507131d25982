#include "render/text.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/store.h"

namespace render {

namespace {

bool SlotInStore(std::int32_t slot) {
    return slot >= 0 && slot < engine::TextureCount() &&
           static_cast<std::size_t>(slot) < engine::state.Textures.size() &&
           engine::state.Textures[static_cast<std::size_t>(slot)] != 0;
}

} // namespace

void UploadGlyphAtlas(std::int32_t slot, const GlyphAtlas& atlas) {
    const bool inStore = slot >= 0 && slot < engine::TextureCount() &&
                         static_cast<std::size_t>(slot) < engine::state.Textures.size();
    const bool whole = atlas.width > 0 && atlas.height > 0 &&
                       atlas.texels.size() / 2 / static_cast<std::size_t>(atlas.width) >=
                           static_cast<std::size_t>(atlas.height);
    if (!inStore || !whole) return;
    GLuint name = 0;
    glGenTextures(1, &name);
    engine::StoreTexture(slot, name, std::int64_t{atlas.width} * atlas.height);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // The line shows each level about its own size: the nearest level alone is as sharp as a
    // blend of two, for half the texel reads.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, atlas.width, atlas.height,
                      GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, atlas.texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void DrawText(const FrameView& view) {
    const TextRun& run = view.text;
    if (run.count == 0 || !SlotInStore(run.texture)) return;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    // The atlas is premultiplied: its luminance already carries its alpha.
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, engine::state.Textures[static_cast<std::size_t>(run.texture)]);
    glBegin(GL_QUADS);
    for (std::size_t k = 0; k < run.count && k < run.quads.size(); ++k) {
        const TextQuad& q = run.quads[k];
        glColor4f(q.colour[0], q.colour[1], q.colour[2], 1.0f);
        glTexCoord2f(q.s1, q.t2);
        glVertex2f(q.x1, q.y1);
        glTexCoord2f(q.s2, q.t2);
        glVertex2f(q.x2, q.y1);
        glTexCoord2f(q.s2, q.t1);
        glVertex2f(q.x2, q.y2);
        glTexCoord2f(q.s1, q.t1);
        glVertex2f(q.x1, q.y2);
    }
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

} // namespace render
