// Picking, the cell under the pointer, found every frame. First how often it is right: on a
// grid of points of the empty board's face, each seen at its own pixel, how many pick the cell
// they lie in, at 1920 x 1080 and 1080 x 1920 from several views. Then its cost on the empty
// and on the full board, against one projection of a point of the scene (gluProject).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "game/picking.h"
#include "game/state.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/state.h"
#include "tests/support/game/cell_point.h"

namespace {

namespace pt = platform::testing;

constexpr int kGrid = 16; // points a side, spread evenly over the six cells, none on a side

struct Sample {
    game::WindowCursor cursor;
    rules::Cell under;
};

// The grid's points as the scene projects them, with the cell each lies in.
std::vector<Sample> BoardSamples() {
    std::vector<Sample> samples;
    for (int a = 0; a < kGrid; ++a) {
        for (int b = 0; b < kGrid; ++b) {
            // Model units from the centre of cell (1, 1), whose outer sides lie 4.5 away.
            const float x = -4.5f + 54.0f * (static_cast<float>(a) + 0.5f) / kGrid;
            const float y = -4.5f + 54.0f * (static_cast<float>(b) + 0.5f) / kGrid;
            const kxtest::WindowPoint w =
                kxtest::ProjectCellPoint(1, 1, engine::TVector3{x, 0.0f, y});
            samples.push_back(
                {{w.x, w.y},
                 {1 + static_cast<int>((x + 4.5f) / 9), 1 + static_cast<int>((y + 4.5f) / 9)}});
        }
    }
    return samples;
}

void Resize(int width, int height) {
    pt::OpenHiddenGlWindow(width, height);
    platform::state.ScreenWidth = static_cast<std::uint16_t>(width);
    platform::state.ScreenHeight = static_cast<std::uint16_t>(height);
    render::ResizeScene(width, height);
}

void PrintHits() {
    rules::state.Board.fill(0);
    struct View {
        float tilt, turn;
    };
    for (const auto& [width, height] : {std::pair{1920, 1080}, {1080, 1920}}) {
        Resize(width, height);
        for (const View v : {View{-45, 45}, {-20, 0}, {-70, 160}}) {
            game::state.CameraTilt = v.tilt;
            game::state.CameraTurn = v.turn;
            int hits = 0, none = 0;
            const std::vector<Sample> samples = BoardSamples();
            for (const Sample& s : samples) {
                const rules::Cell cell = game::PickCell(s.cursor);
                if (cell.i == s.under.i && cell.j == s.under.j) ++hits;
                if (cell.i == -1) ++none;
            }
            std::printf(
                "%dx%d tilt %4.0f turn %4.0f: %3d of %zu points pick their cell, %3d none\n", width,
                height, double(v.tilt), double(v.turn), hits, samples.size(), none);
        }
    }
    Resize(1920, 1080);
    game::state.CameraTilt = -45;
    game::state.CameraTurn = 45;
}

void OneProjection(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kxtest::ProjectCellPoint(3, 4, engine::TVector3{}));
}

void Pick(benchmark::State& state, bool full) {
    for (std::size_t n = 0; n < rules::state.Board.size(); ++n)
        rules::state.Board[n] = full ? static_cast<std::uint8_t>(n % 2 + 1) : 0;
    const std::vector<Sample> samples = BoardSamples();
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(game::PickCell(samples[k].cursor));
        k = (k + 1) % samples.size();
    }
}

BENCHMARK(OneProjection);
BENCHMARK_CAPTURE(Pick, EmptyBoard, false);
BENCHMARK_CAPTURE(Pick, FullBoard, true);

} // namespace

int main(int argc, char** argv) {
    if (!pt::OpenHiddenGlWindow(1920, 1080)) return 1;
    PrintHits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
