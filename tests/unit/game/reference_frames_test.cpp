// Whole frames drawn with the game's own assets, compared with pictures kept beside this
// test. Any change to how the scene is drawn must leave them as they are: a faster way
// of drawing the same picture passes, a different picture fails.
//
// To make new reference pictures after a deliberate change of the look, run the test with
// KX_WRITE_REFERENCE_FRAMES=1; it writes them into the source tree instead of comparing.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/workspace.h"
#include "engine/store.h"
#include "game/assets.h"
#include "game/draw.h"
#include "game/state.h"
#include "render/texture.h"
#include "render/view.h"
#include "rules/state.h"
#include "tests/support/game/scenes.h"
#include "tests/support/render/gl_test.h"

namespace {

namespace fs = std::filesystem;
using kxtest::FillTheBoardAndOpenThePanel;
using kxtest::LastMoveAt;

// The shape of a 1920 x 1080 screen, small enough to keep the pictures small.
constexpr int kWidth = 256;
constexpr int kHeight = 144;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

fs::path ReferencePath(const std::string& name) {
    return fs::path(KX_SOURCE_DIR) / "tests/unit/game/frames" / (name + ".ppm");
}

void WritePpm(const fs::path& path, const Picture& picture) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()),
              static_cast<std::streamsize>(picture.rgb.size()));
}

// A binary PPM as this test writes it; an empty picture when the file is not one.
Picture ReadPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    if (!(in >> magic >> width >> height >> maxValue) || magic != "P6" || maxValue != 255 ||
        width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return {};
    in.get();
    Picture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    in.read(reinterpret_cast<char*>(picture.rgb.data()),
            static_cast<std::streamsize>(picture.rgb.size()));
    if (in.gcount() != static_cast<std::streamsize>(picture.rgb.size())) return {};
    return picture;
}

class ReferenceFrames : public kxtest::GlTest {
  protected:
    ReferenceFrames(int width = kWidth, int height = kHeight)
        : GlTest(width, height), width_(width), height_(height) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlTest::SetUp());
        // A program folder of our own with the built archive in it: tests running at the
        // same time each have their own Temp.
        dir_ = fs::temp_directory_path() / ("koravex-frames-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(fs::path(KX_BINARY_DIR) / game::kArchiveName, dir_ / game::kArchiveName);
        archive::SetUpWorkspace((dir_ / "koravex").string());
        kxtest::LoadTheGame(width_, height_);
        render::ResizeScene(width_, height_);
        ASSERT_GE(game::state.TexEmpty, 0) << "the archive's pictures did not load";
        kxtest::EmptyBoard();
    }

    void TearDown() override {
        archive::TearDownWorkspace();
        archive::state.ExeFileName.clear();
        GlTest::TearDown();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    Picture Draw() const {
        game::DrawScene();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        const std::size_t stride = std::size_t(width_) * 3;
        Picture picture{width_, height_, std::vector<std::uint8_t>(stride * height_)};
        std::vector<std::uint8_t> rows(picture.rgb.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
        for (int y = 0; y < height_; ++y)
            std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(y * stride), stride,
                        picture.rgb.begin() +
                            static_cast<std::ptrdiff_t>((height_ - 1 - y) * stride));
        return picture;
    }

    // The frame as drawn now against its reference. The same drawing done another way may
    // round a shade differently or move an edge pixel; nothing more.
    void ExpectLikeReference(const std::string& name) const {
        const Picture drawn = Draw();
        if (std::getenv("KX_WRITE_REFERENCE_FRAMES")) {
            WritePpm(ReferencePath(name), drawn);
            GTEST_SKIP() << "wrote " << ReferencePath(name);
        }
        const Picture reference = ReadPpm(ReferencePath(name));
        ASSERT_EQ(reference.width, width_) << "no reference picture " << ReferencePath(name);
        ASSERT_EQ(reference.height, height_);
        long total = 0;
        int off = 0;
        for (std::size_t p = 0; p < drawn.rgb.size(); p += 3) {
            int worst = 0;
            for (std::size_t c = p; c < p + 3; ++c) {
                const int d = std::abs(int(drawn.rgb[c]) - int(reference.rgb[c]));
                total += d;
                worst = std::max(worst, d);
            }
            if (worst > 24) ++off;
        }
        const double mean = double(total) / double(drawn.rgb.size());
        const bool alike = off <= width_ * height_ / 400 && mean < 0.5;
        if (!alike) WritePpm(fs::path(KX_BINARY_DIR) / "scene-frames" / (name + ".ppm"), drawn);
        EXPECT_TRUE(alike) << name << ": " << off << " pixels off, mean difference " << mean
                           << "; drawn now: " << KX_BINARY_DIR << "/scene-frames/" << name
                           << ".ppm";
    }

    const int width_;
    const int height_;
    fs::path dir_;
};

GLint BackdropMinFilter() {
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D,
                  engine::state.Textures[static_cast<std::size_t>(game::state.TexBackground)]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

TEST_F(ReferenceFrames, EmptyBoard) {
    ExpectLikeReference("empty_board");
}

TEST_F(ReferenceFrames, FullBoardWithThePanelOpen) {
    FillTheBoardAndOpenThePanel();
    ExpectLikeReference("full_board_panel_open");
    // Shrunk this far the backdrop needs its mipmaps.
    EXPECT_EQ(BackdropMinFilter(), GL_LINEAR_MIPMAP_LINEAR);
}

// A half-faded piece falling at the board's far edge, where the view is tilted so low that
// it shows against the backdrop; the dark piece came last.
TEST_F(ReferenceFrames, FallingPieceAgainstTheBackdrop) {
    rules::BoardAt(2, 3) = 1;
    rules::BoardAt(5, 5) = 2;
    LastMoveAt({5, 5});
    rules::state.CurrentPlayer = 1;
    rules::state.PendingCell = {1, 6};
    rules::state.MoveDelay = 450;
    game::state.HoverCell = {3, 3}; // not drawn while the move is pending
    game::state.CameraTilt = -78.0f;
    game::state.CameraTurn = 20.0f;
    ExpectLikeReference("falling_piece");
}

TEST_F(ReferenceFrames, WonSquarePulsing) {
    kxtest::WonSquareAmongNinePieces();
    rules::state.Pulse = 800;
    game::state.CameraTilt = -30.0f;
    game::state.CameraTurn = -60.0f;
    ExpectLikeReference("won_square_pulsing");
}

// A portrait screen (9:16) widens the view: the whole board, rim included, shows side to side.
class PortraitFrames : public ReferenceFrames {
  protected:
    PortraitFrames() : ReferenceFrames(144, 256) {}
};

TEST_F(PortraitFrames, TheWholeBoardShows) {
    FillTheBoardAndOpenThePanel();
    game::state.MenuOffset = 5;
    ExpectLikeReference("portrait_full_board");
}

// A 1920 x 1080 screen shows the backdrop larger than its picture, so it is drawn without its
// mipmaps. Not one pixel may change for that.
class FullHdFrames : public ReferenceFrames {
  protected:
    FullHdFrames() : ReferenceFrames(1920, 1080) {}
    void TearDown() override {
        render::state.SkipMipmapsWhenMagnified = true;
        render::state.WoodFromNearestLevel = true;
        ReferenceFrames::TearDown();
    }

    void ExpectTheSameWithTheMipmaps() const {
        render::state.SkipMipmapsWhenMagnified = true;
        const Picture fast = Draw();
        EXPECT_EQ(BackdropMinFilter(), GL_LINEAR) << "the mipmaps were not skipped";
        render::state.SkipMipmapsWhenMagnified = false;
        const Picture full = Draw();
        EXPECT_EQ(BackdropMinFilter(), GL_LINEAR_MIPMAP_LINEAR);
        std::size_t differ = 0;
        for (std::size_t c = 0; c < fast.rgb.size(); ++c)
            differ += fast.rgb[c] != full.rgb[c];
        EXPECT_EQ(differ, 0u) << "colour values differ";
    }
};

TEST_F(FullHdFrames, TheBackdropWithoutItsMipmapsLooksTheSame) {
    ExpectTheSameWithTheMipmaps();
    FillTheBoardAndOpenThePanel();
    ExpectTheSameWithTheMipmaps();
}

// The wood from one mipmap level instead of a blend of two may shift the grain by a few shades
// where the levels meet, and nowhere by what a player would see.
TEST_F(FullHdFrames, TheWoodFromOneMipmapLevelLooksAlike) {
    FillTheBoardAndOpenThePanel();
    const Picture fast = Draw();
    render::state.WoodFromNearestLevel = false;
    const Picture blended = Draw();
    int worst = 0;
    long total = 0;
    for (std::size_t c = 0; c < fast.rgb.size(); ++c) {
        worst = std::max(worst, std::abs(int(fast.rgb[c]) - int(blended.rgb[c])));
        total += std::abs(int(fast.rgb[c]) - int(blended.rgb[c]));
    }
    EXPECT_LE(worst, 32);
    EXPECT_LT(double(total) / double(fast.rgb.size()), 0.1);
}

} // namespace
