#include <GL/gl.h>

#include "platform/bmp.h"
#include "render/texture.h"
#include "assets_fixture.h"
#include "base/failure.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

class Textures : public GlWorkspaceTest {
  protected:
    std::int32_t Load(const std::string& name, GLint minFilter = GL_LINEAR_MIPMAP_LINEAR,
                      const std::string& archiveName = "adatok.vbf") {
        return render::LoadTexture(name, archiveName, GL_LINEAR, minFilter, GL_MODULATE);
    }
};

TEST_F(Textures, SlotsKeepCountingAfterAFailedDecode) {
    WriteArchive({{"a.bmp", Gradient24(4, 4)}, {"bad.bmp", Bytes{'B', 'M', 1, 2, 3}}});
    EXPECT_EQ(Load("a.bmp"), 0);
    EXPECT_EQ(Load("a.bmp"), 1);
    EXPECT_EQ(Load("bad.bmp"), -1);
    EXPECT_EQ(Load("a.bmp"), 3);
    ASSERT_EQ(engine::TextureCount(), 4);
    ASSERT_EQ(engine::Textures.size(), 4u);
    EXPECT_EQ(engine::Textures[2], 0u);
    // The same file twice is two textures.
    EXPECT_NE(engine::Textures[0], engine::Textures[1]);
    for (int slot : {0, 1, 3})
        EXPECT_TRUE(glIsTexture(engine::Textures[slot])) << slot;
    // Decoded pictures are deleted from Temp; the undecodable one stays until the clear-out.
    EXPECT_FALSE(fs::exists(Temp() / "a.bmp"));
    EXPECT_TRUE(fs::exists(Temp() / "bad.bmp"));
    EXPECT_EQ(CurrentDir(), Temp());
}

TEST_F(Textures, FiltersWithoutMipmapsUploadOneLevelOthersEveryLevel) {
    WriteArchive({{"a.bmp", Gradient24(8, 4)}});
    const auto single = Load("a.bmp", GL_NEAREST);
    const auto linear = Load("a.bmp", GL_LINEAR);
    const auto mipmapped = Load("a.bmp", GL_NEAREST_MIPMAP_NEAREST);
    for (auto slot : {single, linear}) {
        EXPECT_EQ(TextureLevelWidth(engine::Textures[slot], 0), 8);
        EXPECT_EQ(TextureLevelWidth(engine::Textures[slot], 1), 0);
    }
    const GLuint chain = engine::Textures[mipmapped];
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
    WriteArchive({{"odd.bmp", file}});
    const auto slot = Load("odd.bmp", GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, engine::Textures[slot]);
    std::vector<std::uint8_t> back(5 * 3 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(back, platform::DecodeBmp(file)->rgb);
    GLint unpack = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    EXPECT_EQ(unpack, 4);
}

TEST_F(Textures, WithoutAnArchiveThePictureBesideTheProgramIsRead) {
    WriteBytes(dir_ / "plain.bmp", Gradient24(2, 2));
    EXPECT_EQ(Load("plain.bmp", GL_LINEAR, ""), 0);
    EXPECT_TRUE(fs::exists(dir_ / "plain.bmp"));
    EXPECT_TRUE(fs::is_empty(Temp()));
    EXPECT_EQ(Load("absent.bmp", GL_LINEAR, ""), -1);
}

TEST_F(Textures, AMissingMemberFailsTheLoad) {
    WriteArchive({{"a.bmp", Gradient24(2, 2)}});
    EXPECT_THROW(Load("b.bmp"), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(b.bmp) not found in bigfile(adatok.vbf) !!");
}

TEST_F(Textures, BindingASlotOutsideTheStoreBindsNoTexture) {
    WriteArchive({{"a.bmp", Gradient24(2, 2)}});
    const auto slot = Load("a.bmp");
    auto bound = [] {
        GLint name = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    };
    render::BindTextureSlot(slot);
    EXPECT_EQ(bound(), static_cast<GLint>(engine::Textures[slot]));
    for (std::int32_t bad : {-1, 1, 1000, INT32_MIN}) {
        render::BindTextureSlot(slot);
        render::BindTextureSlot(bad);
        EXPECT_EQ(bound(), 0) << bad;
    }
}

} // namespace
