#include <GL/gl.h>
#include <GL/glu.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "assets_fixture.h"
#include "base/failure.h"
#include "game/assets.h"
#include "engine/bmp.h"
#include "render/texture.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

class Textures : public GlWorkspaceTest {
  protected:
    std::int32_t Load(const std::string& name, GLint minFilter = GL_LINEAR_MIPMAP_LINEAR,
                      const std::string& archiveName = "adatok.vbf") {
        return game::LoadTexture(name, archiveName, {GL_LINEAR, minFilter, GL_MODULATE});
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
    EXPECT_EQ(CurrentDir(), dir_);
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
    EXPECT_EQ(back, engine::DecodeBmp(file)->rgb);
    GLint unpack = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    EXPECT_EQ(unpack, 4);
}

TEST_F(Textures, WithoutAnArchiveThePictureBesideTheProgramIsRead) {
    WriteBytes(dir_ / "plain.bmp", Gradient24(2, 2));
    EXPECT_EQ(Load("plain.bmp", GL_LINEAR, ""), 0);
    EXPECT_TRUE(fs::exists(dir_ / "plain.bmp"));
    EXPECT_TRUE(HoldsNothingOfTheGames(Temp()));
    EXPECT_EQ(Load("absent.bmp", GL_LINEAR, ""), -1);
}

TEST_F(Textures, AMissingMemberFailsTheLoad) {
    WriteArchive({{"a.bmp", Gradient24(2, 2)}});
    EXPECT_THROW(Load("b.bmp"), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(b.bmp) not found in bigfile(adatok.vbf) !!");
}

// A two-colour picture of this size: small in the file, big once decoded.
Bytes OneBit(int width, int height) {
    return EncodeBmp(width, height, 1, {}, {{0, 0, 0}, {255, 255, 255}},
                     std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 1));
}

TEST_F(Textures, APictureOverItsBudgetCountsAsUndecodable) {
    WriteArchive({{"edge.bmp", OneBit(2048, 2048)},
                  {"wide.bmp", OneBit(2049, 2048)},
                  {"huge.bmp", OneBit(engine::kMaxPictureSide, engine::kMaxPictureSide)}});
    EXPECT_EQ(Load("edge.bmp"), 0);
    EXPECT_EQ(Load("wide.bmp"), -1);
    EXPECT_EQ(Load("huge.bmp"), -1);
    EXPECT_EQ(engine::TextureCount(), 3);
    EXPECT_EQ(engine::TexturePixels, render::kMaxPicturePixels);
    // Refused like any undecodable picture: no texture, and the copy stays until the clear-out.
    EXPECT_EQ(engine::Textures[1], 0u);
    EXPECT_TRUE(fs::exists(Temp() / "wide.bmp"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Textures, EntriesSharingOnePictureEachCountAgainstTheTotal) {
    const Bytes big = OneBit(2048, 2048);
    const Bytes small = Gradient24(2, 2);
    // Five names for the big picture's bytes, one for the small one's.
    std::vector<RawEntry> entries;
    const std::int32_t data = 4 + 58 * 6;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"})
        entries.push_back({NameField(name), static_cast<std::int32_t>(big.size()), data});
    entries.push_back({NameField("small.bmp"), static_cast<std::int32_t>(small.size()),
                       data + static_cast<std::int32_t>(big.size())});
    WriteBytes(dir_ / "adatok.vbf", RawArchive(6, entries,
                                               std::string(big.begin(), big.end()) +
                                                   std::string(small.begin(), small.end())));
    const std::int64_t fits = render::kMaxTotalPicturePixels / render::kMaxPicturePixels;
    ASSERT_EQ(fits, 4);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
        EXPECT_GE(Load(name), 0) << name;
    EXPECT_EQ(Load("e.bmp"), -1);
    EXPECT_EQ(Load("small.bmp"), -1) << "the total is spent";
    EXPECT_EQ(engine::TexturePixels, render::kMaxTotalPicturePixels);

    // A fresh engine starts a fresh count.
    engine::EngineInit();
    EXPECT_EQ(Load("small.bmp"), 0);
}

TEST_F(Textures, AMemberTooLargeForAnyPictureInBudgetIsNeitherReadNorCopied) {
    Bytes large = Gradient24(2, 2);
    large.resize(static_cast<std::size_t>(render::kMaxPictureFileBytes) + 1);
    Bytes fits = Gradient24(2, 2);
    fits.resize(static_cast<std::size_t>(render::kMaxPictureFileBytes));
    WriteArchive({{"large.bmp", large}, {"fits.bmp", fits}});
    EXPECT_EQ(Load("large.bmp"), -1);
    EXPECT_FALSE(fs::exists(Temp() / "large.bmp"));
    EXPECT_EQ(CurrentDir(), dir_) << "a refused picture changes no directory";
    // Trailing bytes up to the limit are still a picture.
    EXPECT_EQ(Load("fits.bmp"), 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(CurrentDir(), dir_);
}

TEST_F(Textures, AFifoBesideTheProgramIsUndecodableNotAWait) {
    ASSERT_EQ(mkfifo((dir_ / "pipe.bmp").c_str(), 0600), 0);
    EXPECT_EQ(Load("pipe.bmp", GL_LINEAR, ""), -1);
}

// Upload is handed pictures from outside render/: one whose pixels fall short of its sides
// would be read past its end, and a slot outside the store written past the store's.
TEST_F(Textures, APictureShortOfItsSidesOrASlotOutsideTheStoreUploadsNothing) {
    const std::int32_t slot = render::NewTextureSlot();
    render::UploadTexture(slot, {4, 4, std::vector<std::uint8_t>(4 * 3 * 3)}, render::kSmoothLook);
    const engine::Picture pixel{1, 1, {1, 2, 3}};
    for (std::int32_t outside : {-1, slot + 1})
        render::UploadTexture(outside, pixel, render::kSmoothLook);
    EXPECT_EQ(engine::Textures, std::vector<std::uint32_t>{0});
    EXPECT_EQ(engine::TexturePixels, 0);
    render::UploadTexture(slot, pixel, render::kSmoothLook);
    EXPECT_TRUE(glIsTexture(engine::Textures[0]));
    EXPECT_EQ(engine::TexturePixels, 1);
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

    render::SkipMipmapsWhenMagnified = false;
    render::SampleBoundSmoothTexture(0.5f);
    render::SkipMipmapsWhenMagnified = true;
    EXPECT_EQ(BoundMinFilter(), GL_LINEAR_MIPMAP_LINEAR);
    glDeleteTextures(1, &name);
}

} // namespace
