#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/bmp.h"
#include "render/texture.h"
#include "tests/support/engine/bmp_files.h"
#include "tests/support/render/gl_test.h"

namespace {

using namespace kxtest;

class Textures : public GlTest {
  protected:
    // The picture decoded and uploaded into the next slot, as the game's loader does.
    static std::int32_t Load(const Bytes& file, GLint minFilter = GL_LINEAR_MIPMAP_LINEAR) {
        const std::int32_t slot = render::NewTextureSlot();
        render::UploadTexture(slot, *engine::DecodeBmp(file), {GL_LINEAR, minFilter, GL_MODULATE});
        return slot;
    }
};

GLint TextureLevelWidth(GLuint name, int level) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

TEST_F(Textures, FiltersWithoutMipmapsUploadOneLevelOthersEveryLevel) {
    const Bytes picture = Gradient24(8, 4);
    const auto single = Load(picture, GL_NEAREST);
    const auto linear = Load(picture, GL_LINEAR);
    const auto mipmapped = Load(picture, GL_NEAREST_MIPMAP_NEAREST);
    for (auto slot : {single, linear}) {
        EXPECT_EQ(TextureLevelWidth(engine::state.Textures[slot], 0), 8);
        EXPECT_EQ(TextureLevelWidth(engine::state.Textures[slot], 1), 0);
    }
    const GLuint chain = engine::state.Textures[mipmapped];
    EXPECT_EQ(TextureLevelWidth(chain, 0), 8);
    EXPECT_EQ(TextureLevelWidth(chain, 1), 4);
    EXPECT_EQ(TextureLevelWidth(chain, 3), 1);

    GLint minFilter = 0, magFilter = 0, env = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(minFilter, GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(env, GL_MODULATE);
}

TEST_F(Textures, RowsThatAreNoMultipleOfFourBytesArriveIntact) {
    // Five pixels make 15-byte rows: read with GL's default alignment they would shear.
    const Bytes file = Gradient24(5, 3);
    const auto slot = Load(file, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, engine::state.Textures[slot]);
    std::vector<std::uint8_t> back(5 * 3 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(back, engine::DecodeBmp(file)->rgb);
    GLint unpack = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    EXPECT_EQ(unpack, 4);
}

// Upload is handed pictures from outside render/: one whose pixels fall short of its sides
// would be read past its end, and a slot outside the store written past the store's.
TEST_F(Textures, APictureShortOfItsSidesOrASlotOutsideTheStoreUploadsNothing) {
    const std::int32_t slot = render::NewTextureSlot();
    render::UploadTexture(slot, {4, 4, std::vector<std::uint8_t>(4 * 3 * 3)}, render::kSmoothLook);
    const engine::Picture pixel{1, 1, {1, 2, 3}};
    for (std::int32_t outside : {-1, slot + 1})
        render::UploadTexture(outside, pixel, render::kSmoothLook);
    EXPECT_EQ(engine::state.Textures, std::vector<std::uint32_t>{0});
    EXPECT_EQ(engine::state.TexturePixels, 0);
    render::UploadTexture(slot, pixel, render::kSmoothLook);
    EXPECT_TRUE(glIsTexture(engine::state.Textures[0]));
    EXPECT_EQ(engine::state.TexturePixels, 1);
}

TEST_F(Textures, BindingASlotOutsideTheStoreBindsNoTexture) {
    const auto slot = Load(Gradient24(2, 2));
    auto bound = [] {
        GLint name = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    };
    render::BindTextureSlot(slot);
    EXPECT_EQ(bound(), static_cast<GLint>(engine::state.Textures[slot]));
    for (std::int32_t bad : {-1, 1, 1000, INT32_MIN}) {
        render::BindTextureSlot(slot);
        render::BindTextureSlot(bad);
        EXPECT_EQ(bound(), 0) << bad;
    }
}

// A 64 x 64 checkerboard of single black and white texels, with every mipmap level: its
// levels are grey, so sampling them or not shows.
GLuint Checkerboard() {
    std::vector<std::uint8_t> rgb(64 * 64 * 3);
    for (std::size_t p = 0; p < 64 * 64; ++p)
        std::fill_n(rgb.begin() + static_cast<std::ptrdiff_t>(p * 3), 3,
                    (p % 64 + p / 64) % 2 ? 255 : 0);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return name;
}

// The bound texture over the whole 64 x 64 window at `texelsPerPixel`, read back.
std::vector<std::uint8_t> DrawAtScale(float texelsPerPixel) {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(texelsPerPixel, 0);
    glVertex2f(1, 0);
    glTexCoord2f(texelsPerPixel, texelsPerPixel);
    glVertex2f(1, 1);
    glTexCoord2f(0, texelsPerPixel);
    glVertex2f(0, 1);
    glEnd();
    std::vector<std::uint8_t> rgb(64 * 64 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

GLint BoundMinFilter() {
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

// Magnified by the margin or more, a picture drawn without its mipmaps looks the same as with
// them; near 1:1 or shrunk, or with the shortcut turned off, the mipmaps stay on.
TEST_F(Textures, APictureDrawnMagnifiedSkipsItsMipmapsAndLooksTheSame) {
    const GLuint name = Checkerboard();
    EXPECT_EQ(render::BoundTextureSize(), (std::array<std::int32_t, 2>{64, 64}));
    auto withMipmaps = [](float scale) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        return DrawAtScale(scale);
    };
    for (float scale : {0.5f, 0.9f}) {
        render::SampleBoundSmoothTexture(scale);
        EXPECT_EQ(BoundMinFilter(), GL_LINEAR) << scale;
        const auto baseLevelOnly = DrawAtScale(scale);
        EXPECT_TRUE(baseLevelOnly == withMipmaps(scale)) << scale;
    }
    for (float scale : {0.95f, 1.0f, 2.0f}) {
        render::SampleBoundSmoothTexture(scale);
        EXPECT_EQ(BoundMinFilter(), GL_LINEAR_MIPMAP_LINEAR) << scale;
    }
    // Shrunk, the levels do show: the comparison above can see a difference.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    const auto baseLevelOnly = DrawAtScale(1.7f);
    EXPECT_FALSE(baseLevelOnly == withMipmaps(1.7f));

    render::state.SkipMipmapsWhenMagnified = false;
    render::SampleBoundSmoothTexture(0.5f);
    render::state.SkipMipmapsWhenMagnified = true;
    EXPECT_EQ(BoundMinFilter(), GL_LINEAR_MIPMAP_LINEAR);
    glDeleteTextures(1, &name);
}

} // namespace
