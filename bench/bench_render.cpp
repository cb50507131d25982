// Frame cost at 1920 x 1080 in a hidden window: a bare frame (clear, one full-screen
// textured quad, swap) against the game's frames drawn with its own assets: the empty
// board, a board of nine pieces with a won square pulsing, a full board with the preview and
// the open panel, and a board of five pieces with a move falling. Prints each frame's ratio to
// the bare one.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "archive/workspace.h"
#include "bench/bare_frame.h"
#include "engine/store.h"
#include "game/assets.h"
#include "game/draw.h"
#include "game/frame.h"
#include "game/state.h"
#include "platform/platform.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/texture.h"
#include "render/view.h"
#include "rules/state.h"
#include "tests/support/game/scenes.h"

namespace {

namespace pt = platform::testing;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kInterleavedRounds = 60;
// Each frame's benchmark runs this often, the repetitions of all the frames shuffled together.
constexpr int kRepetitions = 6;

std::int32_t BareTexture = -1; // texture slot of the bare frame's picture

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
    platform::state.ScreenWidth = kWidth;
    platform::state.ScreenHeight = kHeight;
    const auto start = std::chrono::steady_clock::now();
    archive::SetUpWorkspace();
    kxtest::LoadTheGame(kWidth, kHeight);
    std::printf("scene set-up (assets, textures, lists): %.1f ms\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
    render::ResizeScene(kWidth, kHeight);
    // The bare frame's own copy of the backdrop's picture, always sampled through its mipmaps.
    BareTexture = game::LoadSmoothTexture("backg.bmp", archive::state.ArchiveName);
    if (BareTexture < 0) return false;
    for (const auto& [name, index] : {std::pair{"board", game::state.BoardObjectIndex},
                                      {"piece", game::state.PieceObjectIndex}}) {
        if (engine::ValidObject(index))
            std::printf(
                "%s model: %u triangles\n", name,
                unsigned{
                    engine::state.Objects[static_cast<std::size_t>(index)].MiniPolygonCount()});
    }
    return true;
}

void FinishFrame() {
    platform::SwapBuffers();
    glFinish();
}

// One full-screen quad with the backdrop's picture, trilinear-mipmapped, nothing else.
void DrawBareFrame() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    render::BindTextureSlot(BareTexture);
    bench::DrawBareQuad();
    render::ResizeScene(kWidth, kHeight);
    glEnable(GL_LIGHTING);
}

// The start of a game: no pieces, the panel closed, the pointer off the board.
void EmptyBoard() {
    rules::ResetRulesState();
    kxtest::EmptyBoard();
}

// A game the computer won on both seats: nine pieces, the won square's four pulsing, the last
// move ringed.
void PulsingBoard() {
    static std::int32_t pulse = 0;
    EmptyBoard();
    kxtest::WonSquareAmongNinePieces();
    rules::state.GameOver = true;
    pulse = (pulse + 16) % 1000;
    rules::state.Pulse = pulse;
}

// Every cell taken, one square completed and pulsing, the last move ringed, the preview and the
// open panel.
void FullBoard() {
    EmptyBoard();
    kxtest::FillTheBoardAndOpenThePanel();
    kxtest::LastMoveAt({3, 3});
}

// Early in a game: five pieces, the last ringed, the next falling half faded in over the board.
void MoveFalling() {
    EmptyBoard();
    for (const auto& [i, j] : {std::pair{2, 2}, {3, 4}, {4, 3}, {5, 5}, {2, 5}})
        rules::BoardAt(i, j) = static_cast<std::uint8_t>(1 + (i + j) % 2);
    kxtest::LastMoveAt({2, 5});
    rules::state.PendingCell = {4, 4};
    rules::state.MoveDelay = 500;
}

struct FrameKind {
    const char* name;
    void (*prepare)(); // sets the game's state for the frame; none for the bare frame
};

const std::array<FrameKind, 5> kFrames{{{"BareFrame", nullptr},
                                        {"EmptyBoard", EmptyBoard},
                                        {"PulsingBoard", PulsingBoard},
                                        {"FullBoard", FullBoard},
                                        {"MoveFalling", MoveFalling}}};

void DrawFrame(const FrameKind& kind) {
    if (kind.prepare) {
        kind.prepare();
        game::DrawScene();
    } else {
        DrawBareFrame();
    }
    FinishFrame();
}

void Frames(benchmark::State& state, const FrameKind* kind) {
    for (auto _ : state)
        DrawFrame(*kind);
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double>& values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// The frames in turn, over and over, each timed alone: a machine whose load changes
// during the run then slows them all alike, and the medians' ratios stay fair. The CPU time
// of all the program's threads (the rasteriser's included) is the work a frame takes, which
// other programs on the machine hardly change.
void PrintInterleavedRatios(int rounds) {
    std::array<std::vector<double>, kFrames.size()> wall, cpu;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t k = 0; k < kFrames.size(); ++k) {
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = ProcessCpuMs();
            DrawFrame(kFrames[k]);
            cpu[k].push_back(ProcessCpuMs() - startCpu);
            wall[k].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::printf("\ninterleaved, %d rounds, medians:   wall time          CPU time\n", rounds);
    double bareWall = 0, bareCpu = 0;
    for (std::size_t k = 0; k < kFrames.size(); ++k) {
        const double w = Median(wall[k]), c = Median(cpu[k]);
        if (k == 0) {
            bareWall = w;
            bareCpu = c;
        }
        std::printf("%-14s %8.2f ms  %5.2f x   %8.2f ms  %5.2f x\n", kFrames[k].name, w,
                    w / bareWall, c, c / bareCpu);
    }
}

// The update alone: picking projects 360 points, the rest is constant work.
void UpdateFrame(benchmark::State& state) {
    rules::ResetRulesState();
    game::state.LastTick = 0;
    pt::Double().cursorX = kWidth / 2;
    pt::Double().cursorY = kHeight / 2;
    for (auto _ : state) {
        pt::Double().tick += 16;
        game::UpdateFrame();
    }
}

// Collects each repetition's time per frame so that the medians' ratios can be printed at the
// end; shows the aggregates alone for the repeated frames.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                milliseconds_[run.run_name.function_name].push_back(
                    run.real_accumulated_time * 1e3 / static_cast<double>(run.iterations));
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) shown.push_back(run);
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }
    void PrintRatios() {
        const auto bare = milliseconds_.find(kFrames[0].name);
        if (bare == milliseconds_.end()) return;
        const double bareMs = Median(bare->second);
        std::printf("\nin runs of half a second, medians of %d runs shuffled together:\n",
                    kRepetitions);
        for (const FrameKind& kind : kFrames) {
            const auto frame = milliseconds_.find(kind.name);
            if (frame == milliseconds_.end()) continue;
            const double ms = Median(frame->second);
            std::printf("%-14s %8.2f ms  %5.2f x\n", kind.name, ms, ms / bareMs);
        }
    }

  private:
    std::map<std::string, std::vector<double>> milliseconds_;
};

} // namespace

int main(int argc, char** argv) {
    // The repetitions of the frames run in a shuffled order unless the command line says
    // otherwise: a change of the machine's load in the middle of the run then touches them all.
    std::vector<char*> args(argv, argv + argc);
    std::string shuffle = "--benchmark_enable_random_interleaving=true";
    if (std::ranges::none_of(args, [](const char* arg) {
            return std::string_view(arg).starts_with("--benchmark_enable_random_interleaving");
        }))
        args.insert(args.begin() + 1, shuffle.data());
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SetUpScene()) {
        std::fprintf(stderr, "bench_render: no GL window or assets\n");
        return 1;
    }
    for (const FrameKind& kind : kFrames) {
        benchmark::RegisterBenchmark(kind.name, Frames, &kind)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(0.5)
            ->Repetitions(kRepetitions);
    }
    benchmark::RegisterBenchmark("UpdateFrame", UpdateFrame)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    PrintInterleavedRatios(kInterleavedRounds);
    archive::TearDownWorkspace();
    benchmark::Shutdown();
    return 0;
}
