#include "archive/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "archive/bmp.h"
#include "archive/workspace.h"
#include "engine/store.h"

namespace archive {
namespace {

bool PowerOfTwo(std::int32_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

// The mean of a texel and its neighbours `dx` bytes to the right and `dy` bytes up, rounded
// as GLU rounds its means: 2 x 2 texels, or 2 x 1 once a side is down to one texel.
std::uint8_t Mean(const std::uint8_t* t, std::size_t dx, std::size_t dy) {
    if (dx != 0 && dy != 0)
        return static_cast<std::uint8_t>((t[0] + t[dx] + t[dy] + t[dx + dy] + 2) / 4);
    const std::size_t d = dx + dy;
    return static_cast<std::uint8_t>((t[0] + t[d]) / 2);
}

// Every level of a picture whose sides are powers of two, texel for texel what
// gluBuild2DMipmaps makes of it, without its general pixel conversions that cost start-up
// time on the large pictures.
void UploadMipmapChain(const Picture& picture) {
    std::int32_t w = picture.width, h = picture.height;
    glTexImage2D(GL_TEXTURE_2D, 0, 3, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    std::vector<std::uint8_t> above = picture.rgb, below;
    for (GLint level = 1; w > 1 || h > 1; ++level) {
        const std::int32_t nw = std::max(w / 2, 1), nh = std::max(h / 2, 1);
        const std::size_t dx = w > 1 ? 3 : 0, dy = h > 1 ? static_cast<std::size_t>(w) * 3 : 0;
        below.resize(static_cast<std::size_t>(nw) * static_cast<std::size_t>(nh) * 3);
        std::uint8_t* out = below.data();
        for (std::int32_t y = 0; y < nh; ++y) {
            const std::uint8_t* row =
                above.data() + (h > 1 ? 2 * y : y) * static_cast<std::size_t>(w) * 3;
            for (std::int32_t x = 0; x < nw; ++x) {
                const std::uint8_t* t = row + (w > 1 ? 2 * x : x) * 3;
                for (int c = 0; c < 3; ++c)
                    *out++ = Mean(t + c, dx, dy);
            }
        }
        glTexImage2D(GL_TEXTURE_2D, level, 3, nw, nh, 0, GL_RGB, GL_UNSIGNED_BYTE, below.data());
        above.swap(below);
        w = nw;
        h = nh;
    }
}

void UploadTexture(std::int32_t slot, const Picture& picture, std::int32_t magFilter,
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
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    if (minFilter == GL_LINEAR || minFilter == GL_NEAREST) {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, picture.width, picture.height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, picture.rgb.data());
    } else if (PowerOfTwo(picture.width) && PowerOfTwo(picture.height) &&
               picture.width <= maxSide && picture.height <= maxSide &&
               picture.rgb.size() == static_cast<std::size_t>(picture.width) *
                                         static_cast<std::size_t>(picture.height) * 3) {
        UploadMipmapChain(picture);
    } else {
        // GLU scales other sizes to powers of two first.
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE,
                          picture.rgb.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

} // namespace

std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         std::int32_t magFilter, std::int32_t minFilter, std::int32_t envMode) {
    engine::Textures.push_back(0);
    const std::int32_t slot = ++engine::TextureCount - 1;

    if (!archiveName.empty()) {
        ExtractToTemp(fileName, archiveName);
        GoTempFolder();
    } else {
        GoExeFolder();
    }
    // An undecodable picture stays in Temp until the next clear-out.
    const auto picture = LoadBmp(fileName);
    if (!picture) return -1;
    UploadTexture(slot, *picture, magFilter, minFilter, envMode);
    if (!archiveName.empty()) DeleteFromTemp(fileName);
    return slot;
}

void BindTextureSlot(std::int32_t slot) {
    const bool valid = slot >= 0 && slot < engine::TextureCount &&
                       static_cast<std::size_t>(slot) < engine::Textures.size();
    glBindTexture(GL_TEXTURE_2D, valid ? engine::Textures[slot] : 0);
}

} // namespace archive
