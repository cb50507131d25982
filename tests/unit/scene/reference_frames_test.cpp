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
#include "platform/platform_double.h"
#include "render/view.h"
#include "rules/state.h"
#include "shell/window.h"

namespace {

namespace fs = std::filesystem;
namespace pt = platform::testing;

// The shape of a 1920 x 1080 screen, small enough to keep the pictures small.
constexpr int kWidth = 256;
constexpr int kHeight = 144;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

fs::path ReferencePath(const std::string& name) {
    return fs::path(KX_SOURCE_DIR) / "tests/unit/scene/frames" / (name + ".ppm");
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

class ReferenceFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        pt::ResetDouble();
        engine::EngineInit();
        // A program folder of our own with the built archive in it: tests running at the
        // same time each have their own Temp.
        dir_ = fs::temp_directory_path() / ("koravex-frames-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(fs::path(KX_BINARY_DIR) / game::kArchiveName,
                      dir_ / game::kArchiveName);
        ASSERT_TRUE(pt::OpenHiddenGlWindow(kWidth, kHeight));
        archive::SetUpWorkspace((dir_ / "koravex").string());
        shell::LoadScene(kWidth, kHeight);
        render::ResizeScene(kWidth, kHeight);
        ASSERT_GE(game::TexEmpty, 0) << "the archive's pictures did not load";
        rules::Board.fill(0);
        game::HoverCell = {};
        rules::MoveDelay = 0;
        game::MenuOffset = 5;
    }

    void TearDown() override {
        archive::TearDownWorkspace();
        archive::ExeFileName.clear();
        engine::EngineReset();
        pt::ResetDouble();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    static Picture Draw() {
        game::DrawScene();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        Picture picture{kWidth, kHeight, std::vector<std::uint8_t>(kWidth * kHeight * 3)};
        std::vector<std::uint8_t> rows(picture.rgb.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
        const std::size_t stride = kWidth * 3;
        for (int y = 0; y < kHeight; ++y)
            std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(y * stride), stride,
                        picture.rgb.begin() +
                            static_cast<std::ptrdiff_t>((kHeight - 1 - y) * stride));
        return picture;
    }

    // The frame as drawn now against its reference. The same drawing done another way may
    // round a shade differently or move an edge pixel; nothing more.
    static void ExpectLikeReference(const std::string& name) {
        const Picture drawn = Draw();
        if (std::getenv("KX_WRITE_REFERENCE_FRAMES")) {
            WritePpm(ReferencePath(name), drawn);
            GTEST_SKIP() << "wrote " << ReferencePath(name);
        }
        const Picture reference = ReadPpm(ReferencePath(name));
        ASSERT_EQ(reference.width, kWidth) << "no reference picture " << ReferencePath(name);
        ASSERT_EQ(reference.height, kHeight);
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
        const bool alike = off <= kWidth * kHeight / 400 && mean < 0.5;
        if (!alike) WritePpm(fs::path(KX_BINARY_DIR) / "scene-frames" / (name + ".ppm"), drawn);
        EXPECT_TRUE(alike) << name << ": " << off << " pixels off, mean difference " << mean
                           << "; drawn now: " << KX_BINARY_DIR << "/scene-frames/" << name
                           << ".ppm";
    }

    fs::path dir_;
};

TEST_F(ReferenceFrames, EmptyBoard) {
    ExpectLikeReference("empty_board");
}

// Every cell taken, a won square half way through its pulse, the preview over a piece and
// the panel pulled fully out.
TEST_F(ReferenceFrames, FullBoardWithThePanelOpen) {
    for (int n = 0; n < 36; ++n)
        rules::Board[n] = static_cast<std::uint8_t>((n + n / 6) % 2 + 1);
    for (const auto& [i, j] : {std::pair{1, 1}, {1, 3}, {3, 1}, {3, 3}})
        rules::BoardAt(i, j) = static_cast<std::uint8_t>(rules::BoardAt(i, j) + 2);
    rules::Pulse = 500;
    game::HoverCell = {4, 4};
    game::MenuOffset = 200;
    ExpectLikeReference("full_board_panel_open");
}

// A half-faded piece falling at the board's far edge, where the view is tilted so low that
// it shows against the backdrop.
TEST_F(ReferenceFrames, FallingPieceAgainstTheBackdrop) {
    rules::BoardAt(2, 3) = 1;
    rules::BoardAt(5, 5) = 2;
    rules::CurrentPlayer = 1;
    rules::PendingCell = {1, 6};
    rules::MoveDelay = 450;
    game::HoverCell = {3, 3}; // not drawn while the move is pending
    game::CameraTilt = -78.0f;
    game::CameraTurn = 20.0f;
    ExpectLikeReference("falling_piece");
}

TEST_F(ReferenceFrames, WonSquarePulsing) {
    for (const auto& [i, j] : {std::pair{2, 2}, {2, 5}, {5, 2}, {5, 5}})
        rules::BoardAt(i, j) = 3;
    for (const auto& [i, j] : {std::pair{1, 1}, {3, 4}, {4, 3}, {6, 6}, {1, 6}})
        rules::BoardAt(i, j) = 2;
    rules::Pulse = 800;
    game::CameraTilt = -30.0f;
    game::CameraTurn = -60.0f;
    ExpectLikeReference("won_square_pulsing");
}

} // namespace
