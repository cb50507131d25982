#include "render/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "engine/store.h"

namespace render {

namespace {

constexpr GLint kSmoothMagFilter = GL_LINEAR;
constexpr GLint kSmoothMinFilter = GL_LINEAR_MIPMAP_LINEAR;
// Magnified by at least 1/0.9: a level of about -0.15, well clear of the switch at 0.
constexpr double kSurelyMagnified = 0.9;

} // namespace

const TextureLook kSmoothLook{kSmoothMagFilter, kSmoothMinFilter, GL_MODULATE};

std::int32_t NewTextureSlot() {
    return engine::AddTextureSlot();
}

std::int64_t PicturePixelsLeft() {
    return std::clamp<std::int64_t>(kMaxTotalPicturePixels - engine::state.TexturePixels, 0,
                                    kMaxPicturePixels);
}

void UploadTexture(std::int32_t slot, const engine::Picture& picture, const TextureLook& look) {
    const bool inStore = slot >= 0 && slot < engine::TextureCount() &&
                         static_cast<std::size_t>(slot) < engine::state.Textures.size();
    const bool whole = picture.width > 0 && picture.height > 0 &&
                       picture.rgb.size() / 3 / static_cast<std::size_t>(picture.width) >=
                           static_cast<std::size_t>(picture.height);
    if (!inStore || !whole) return;
    GLuint name = 0;
    glGenTextures(1, &name);
    engine::StoreTexture(slot, name, std::int64_t{picture.width} * picture.height);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, look.envMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, look.magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, look.minFilter);

    // Rows are tightly packed: with GL's default 4-byte row alignment a width whose row is not
    // a multiple of 4 bytes would be read skewed and past the end of the pixels.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (look.minFilter == GL_LINEAR || look.minFilter == GL_NEAREST) {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, picture.width, picture.height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, picture.rgb.data());
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE,
                          picture.rgb.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void BindTextureSlot(std::int32_t slot) {
    const bool valid = slot >= 0 && slot < engine::TextureCount() &&
                       static_cast<std::size_t>(slot) < engine::state.Textures.size();
    glBindTexture(GL_TEXTURE_2D, valid ? engine::state.Textures[slot] : 0);
}

void SampleBoundSmoothTexture(double texelsPerPixel) {
    const bool magnified = state.SkipMipmapsWhenMagnified && texelsPerPixel <= kSurelyMagnified;
    // GL ignores a value the texture already has, so this costs nothing frame after frame.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    magnified ? kSmoothMagFilter : kSmoothMinFilter);
}

void SampleBoundTextureFromNearestLevel() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    state.WoodFromNearestLevel ? GL_LINEAR_MIPMAP_NEAREST : kSmoothMinFilter);
}

std::array<std::int32_t, 2> BoundTextureSize() {
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    return {width, height};
}

} // namespace render
