// Frame cost at 1920 x 1080 in a hidden window: a bare frame (clear, one full-screen
// textured quad, swap) against the game's full frame (a full board, the preview and
// the open panel), drawn with the game's own assets. Prints the ratio of the two.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "archive/workspace.h"
#include "engine/store.h"
#include "game/assets.h"
#include "game/frame.h"
#include "game/draw.h"
#include "game/state.h"
#include "platform/platform.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/texture.h"
#include "render/view.h"
#include "rules/state.h"
#include "shell/app.h"
#include "shell/window.h"

namespace {

namespace pt = platform::testing;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr const char* kBare = "BareFrame";
constexpr const char* kGame = "GameFrame";

// The game's archive beside this program, where the start-up expects it.
bool SetUpScene() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return false;
    fs::copy_file(fs::path(KX_BINARY_DIR) / game::kArchiveName,
                  self.parent_path() / game::kArchiveName, fs::copy_options::overwrite_existing,
                  error);
    if (error) {
        std::fprintf(stderr, "bench_render: no %s in %s (build the game first)\n",
                     game::kArchiveName, KX_BINARY_DIR);
        return false;
    }
    if (!pt::OpenHiddenGlWindow(kWidth, kHeight)) return false;
    platform::ScreenWidth = kWidth;
    platform::ScreenHeight = kHeight;
    shell::InitScene(kWidth, kHeight);
    render::ResizeScene(kWidth, kHeight);
    for (const auto& [name, index] :
         {std::pair{"board", game::BoardObjectIndex}, {"piece", game::PieceObjectIndex}}) {
        if (engine::ValidObject(index))
            std::printf(
                "%s model: %u triangles\n", name,
                unsigned{engine::Objects[static_cast<std::size_t>(index)].MiniPolygonCount()});
    }
    return true;
}

void FinishFrame() {
    platform::SwapBuffers();
    glFinish();
}

void BareFrame(benchmark::State& state) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    render::BindTextureSlot(game::TexBackground);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(0, 0);
        glTexCoord2f(1, 0);
        glVertex2f(1, 0);
        glTexCoord2f(1, 1);
        glVertex2f(1, 1);
        glTexCoord2f(0, 1);
        glVertex2f(0, 1);
        glEnd();
        FinishFrame();
    }
    render::ResizeScene(kWidth, kHeight);
    glEnable(GL_LIGHTING);
}

// Every cell taken, one square completed and pulsing, the preview and the open panel.
void FillBoard() {
    for (int n = 0; n < 36; ++n)
        rules::Board[n] = static_cast<std::uint8_t>((n + n / 6) % 2 + 1);
    for (const auto& [i, j] : {std::pair{1, 1}, {1, 3}, {3, 1}, {3, 3}})
        rules::BoardAt(i, j) = static_cast<std::uint8_t>(rules::BoardAt(i, j) + 2);
    rules::Pulse = 500;
    game::HoverCell = {4, 4};
    rules::MoveDelay = 0;
    game::MenuOffset = 200;
    game::HelpShown = false;
}

void GameFrame(benchmark::State& state) {
    FillBoard();
    for (auto _ : state) {
        game::DrawScene();
        FinishFrame();
    }
}

// The update alone: picking projects 360 points, the rest is constant work.
void UpdateFrame(benchmark::State& state) {
    rules::InitGameState();
    game::InitPanelState();
    pt::Double().cursorX = kWidth / 2;
    pt::Double().cursorY = kHeight / 2;
    for (auto _ : state) {
        pt::Double().tick += 16;
        game::UpdateFrame();
    }
}

// Collects each benchmark's time per frame so that the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                nanoseconds_[run.run_name.function_name] =
                    run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio() const {
        const auto bare = nanoseconds_.find(kBare);
        const auto game = nanoseconds_.find(kGame);
        if (bare == nanoseconds_.end() || game == nanoseconds_.end()) return;
        std::printf("\nbare frame %.2f ms, game frame %.2f ms (%.1f fps), ratio game/bare %.2f\n",
                    bare->second / 1e6, game->second / 1e6, 1e9 / game->second,
                    game->second / bare->second);
    }

  private:
    std::map<std::string, double> nanoseconds_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SetUpScene()) {
        std::fprintf(stderr, "bench_render: no GL window or assets\n");
        return 1;
    }
    benchmark::RegisterBenchmark(kBare, BareFrame)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(2.0);
    benchmark::RegisterBenchmark(kGame, GameFrame)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("UpdateFrame", UpdateFrame)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    archive::TearDownWorkspace();
    benchmark::Shutdown();
    return 0;
}
