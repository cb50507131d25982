// The loaders of single members (game/assets.cpp): the board definition, a model and a picture,
// each read from the archive beside the program, or a plain file there.
#include <GL/gl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archive/workspace.h"
#include "assets_fixture.h"
#include "base/failure.h"
#include "engine/store.h"
#include "game/assets.h"
#include "render/texture.h"
#include "rules/squares.h"
#include "rules/state.h"
#include "tests/support/engine/model_helpers.h"
#include "tests/support/rules/board_text.h"

namespace {

using namespace kxtest;
using engine::ObjectCount;
namespace fs = std::filesystem;

// LoadBoardDefinition: the member through Temp into rules::state.SquareTable.
class BoardDefinitionLoad : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        SetUpPortableWorkspace(dir_);
        rules::state.SquareTable = {};
    }
    void Pack(const std::string& text) {
        WriteBytes(dir_ / "a.vbf", Archive({{"other.bmp", "BM"}, {"NEGYZETEK.DAT", text}}));
    }
};

TEST_F(BoardDefinitionLoad, FillsTheTableThroughTempAndRemovesTheCopy) {
    Pack(Definition([](const std::string& line, int) { return line + "\r\n"; }));
    game::LoadBoardDefinition("negyzetek.dat", "a.vbf");
    EXPECT_TRUE(SameSquares(rules::state.SquareTable, rules::DeriveSquares()));
    EXPECT_EQ(CurrentDir(), dir_);
    EXPECT_FALSE(fs::exists(dir_ / "Temp" / "negyzetek.dat"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BoardDefinitionLoad, AFailedLoadKeepsTheTableAndLeavesTheCopyInTemp) {
    Pack("(1,1)(1,2)(2,2)(2,1)\n");
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::ConvertFailure);
    EXPECT_EQ(rules::state.SquareTable[0][0].i, 0);
    EXPECT_TRUE(fs::exists(dir_ / "Temp" / "negyzetek.dat"));

    // An empty member: the engine's report, then the file end in the first digit place.
    Pack("");
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::ConvertFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Not enough memory to run this application !");
}

TEST_F(BoardDefinitionLoad, AMissingMemberIsTheArchiveFailure) {
    WriteBytes(dir_ / "a.vbf", Archive({{"other.bmp", "BM"}}));
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(negyzetek.dat) not found in bigfile(a.vbf) !!");
}

// The archive the build makes: every square of the board, each once, each a true square.
TEST_F(BoardDefinitionLoad, TheBuiltArchiveHoldsEverySquareOfTheBoard) {
    const fs::path built = fs::path(KX_BINARY_DIR) / "adatok.vbf";
    if (!fs::exists(built)) GTEST_SKIP() << "the archive has not been built";
    fs::copy_file(built, dir_ / "adatok.vbf", fs::copy_options::overwrite_existing);
    game::LoadBoardDefinition("negyzetek.dat", "adatok.vbf");

    std::set<std::array<std::pair<int, int>, 4>> distinct;
    for (const auto& square : rules::state.SquareTable) {
        const int di = square[1].i - square[0].i;
        const int dj = square[1].j - square[0].j;
        EXPECT_TRUE(di != 0 || dj != 0);
        EXPECT_EQ(square[2].i - square[1].i, -dj);
        EXPECT_EQ(square[2].j - square[1].j, di);
        EXPECT_EQ(square[3].i - square[2].i, -di);
        EXPECT_EQ(square[3].j - square[2].j, -dj);
        std::array<std::pair<int, int>, 4> corners;
        for (int c = 0; c < 4; ++c)
            corners[c] = {square[c].i, square[c].j};
        std::sort(corners.begin(), corners.end());
        distinct.insert(corners);
    }
    EXPECT_EQ(distinct.size(), 105u);
}

// LoadModel: through the archive beside the program, or a plain file there.
class LoaderFiles : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        engine::EngineInit();
        archive::state.ExeFileName = (dir_ / "koravex").string();
        // Start somewhere else: the loader must go to the program's folder itself.
        std::filesystem::current_path(std::filesystem::temp_directory_path());
    }
    void TearDown() override {
        archive::state.ExeFileName.clear();
        ScratchTest::TearDown();
    }
    void Write(const std::string& name, const Bytes& bytes) { WriteBytes(dir_ / name, bytes); }
};

TEST_F(LoaderFiles, ReadsAMemberOfTheArchive) {
    Write("adatok.vbf",
          ArchiveOfBytes({{"other.3ds", Bytes{1, 2}}, {"tabla.3ds", kxtest::QuadModel()}}));
    game::LoadModel("tabla.3ds", "adatok.vbf", 255);
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(engine::state.Objects[0].MiniPolygonCount(), 2);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LoaderFiles, ReadsAPlainFileWithoutAnArchive) {
    Write("piece.3ds", kxtest::QuadModel());
    game::LoadModel("piece.3ds", "", 0);
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(engine::state.Objects[0].PolygonCount(), 2);
}

TEST_F(LoaderFiles, AMissingMemberFailsWithoutAddingObjects) {
    Write("adatok.vbf", ArchiveOfBytes({{"tabla.3ds", kxtest::QuadModel()}}));
    EXPECT_THROW(game::LoadModel("babu.3ds", "adatok.vbf", 255), base::IoFailure);
    EXPECT_EQ(ObjectCount(), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(babu.3ds) not found in bigfile(adatok.vbf) !!");
}

// LoadTexture: each picture through Temp into the next slot, within the pixel budgets.
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
    ASSERT_EQ(engine::state.Textures.size(), 4u);
    EXPECT_EQ(engine::state.Textures[2], 0u);
    // The same file twice is two textures.
    EXPECT_NE(engine::state.Textures[0], engine::state.Textures[1]);
    for (int slot : {0, 1, 3})
        EXPECT_TRUE(glIsTexture(engine::state.Textures[slot])) << slot;
    // Decoded pictures are deleted from Temp; the undecodable one stays until the clear-out.
    EXPECT_FALSE(fs::exists(Temp() / "a.bmp"));
    EXPECT_TRUE(fs::exists(Temp() / "bad.bmp"));
    EXPECT_EQ(CurrentDir(), dir_);
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
    EXPECT_EQ(engine::state.TexturePixels, render::kMaxPicturePixels);
    // Refused like any undecodable picture: no texture, and the copy stays until the clear-out.
    EXPECT_EQ(engine::state.Textures[1], 0u);
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
    EXPECT_EQ(engine::state.TexturePixels, render::kMaxTotalPicturePixels);

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

} // namespace
