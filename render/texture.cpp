#include "render/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <optional>

#include "archive/bigfile.h"
#include "archive/workspace.h"
#include "base/memory_block.h"
#include "engine/store.h"
#include "platform/bmp.h"

namespace render {

bool SkipMipmapsWhenMagnified = true;

namespace {

constexpr GLint kSmoothMagFilter = GL_LINEAR;
constexpr GLint kSmoothMinFilter = GL_LINEAR_MIPMAP_LINEAR;
// Magnified by at least 1/0.9: a level of about -0.15, well clear of the switch at 0.
constexpr double kSurelyMagnified = 0.9;

void UploadTexture(std::int32_t slot, const platform::Picture& picture, std::int32_t magFilter,
                   std::int32_t minFilter, std::int32_t envMode) {
    GLuint name = 0;
    glGenTextures(1, &name);
    engine::Textures[slot] = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);

    // Rows are tightly packed: with GL's default 4-byte row alignment a width whose row is not
    // a multiple of 4 bytes would be read skewed and past the end of the pixels.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (minFilter == GL_LINEAR || minFilter == GL_NEAREST) {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, picture.width, picture.height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, picture.rgb.data());
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE,
                          picture.rgb.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

} // namespace

std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         std::int32_t magFilter, std::int32_t minFilter, std::int32_t envMode) {
    engine::Textures.push_back(0);
    const std::int32_t slot = engine::TextureCount() - 1;

    const std::int64_t budget = std::clamp<std::int64_t>(
        kMaxTotalPicturePixels - engine::TexturePixels, 0, kMaxPicturePixels);
    std::optional<platform::Picture> picture;
    if (!archiveName.empty()) {
        archive::GoExeFolder();
        if (archive::BigfileMemberSize(fileName, archiveName) > kMaxPictureFileBytes) {
            archive::GoTempFolder();
            return -1;
        }
        const base::MemoryBlock bytes = archive::ExtractToTemp(
            fileName, archiveName, static_cast<std::int32_t>(kMaxPictureFileBytes));
        archive::GoTempFolder();
        picture = platform::DecodeBmp(bytes.Bytes(), budget);
    } else {
        archive::GoExeFolder();
        picture = platform::LoadBmp(fileName, budget);
    }
    // An undecodable picture stays in Temp until the next clear-out.
    if (!picture) return -1;
    engine::TexturePixels += std::int64_t{picture->width} * picture->height;
    UploadTexture(slot, *picture, magFilter, minFilter, envMode);
    if (!archiveName.empty()) archive::DeleteFromTemp(fileName);
    return slot;
}

std::int32_t LoadSmoothTexture(const std::string& fileName, const std::string& archiveName) {
    return LoadTexture(fileName, archiveName, kSmoothMagFilter, kSmoothMinFilter, GL_MODULATE);
}

void BindTextureSlot(std::int32_t slot) {
    const bool valid = slot >= 0 && slot < engine::TextureCount() &&
                       static_cast<std::size_t>(slot) < engine::Textures.size();
    glBindTexture(GL_TEXTURE_2D, valid ? engine::Textures[slot] : 0);
}

void SampleBoundSmoothTexture(double texelsPerPixel) {
    const bool magnified = SkipMipmapsWhenMagnified && texelsPerPixel <= kSurelyMagnified;
    // GL ignores a value the texture already has, so this costs nothing frame after frame.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    magnified ? kSmoothMagFilter : kSmoothMinFilter);
}

std::array<std::int32_t, 2> BoundTextureSize() {
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    return {width, height};
}

} // namespace render
