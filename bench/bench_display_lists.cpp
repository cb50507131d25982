// Compiling the board and piece display lists: the indexed normals against a full scan of the
// triangles per corner, for the shipped models and a 20,000-triangle model.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/bigfile.h"
#include "render/model_lists.h"
#include "engine/geometry.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "platform/platform_double.h"
#include "tools/model3ds/model3ds_writer.h"

namespace {

// A rolling 100 x 100 heightfield: 20,000 triangles sharing their vertices.
std::vector<std::uint8_t> Hills() {
    constexpr int kSide = 100;
    tools3ds::Mesh mesh;
    mesh.name = "hills";
    for (int y = 0; y <= kSide; ++y)
        for (int x = 0; x <= kSide; ++x)
            mesh.vertices.push_back(
                {static_cast<float>(x), static_cast<float>(y),
                 static_cast<float>(3 * std::sin(x * 0.3) * std::cos(y * 0.2))});
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const auto k = static_cast<std::uint16_t>(y * (kSide + 1) + x);
            const auto right = static_cast<std::uint16_t>(k + 1);
            const auto up = static_cast<std::uint16_t>(k + kSide + 1);
            mesh.faces.push_back({k, right, static_cast<std::uint16_t>(up + 1)});
            mesh.faces.push_back({k, static_cast<std::uint16_t>(up + 1), up});
        }
    return tools3ds::Write3ds({}, {mesh});
}

// 65534 triangles round one vertex: a flat disc, or a cone whose normals spread round a
// circle, which no shortcut helps (each corner there still sums its neighbours in order).
std::vector<std::uint8_t> Fan(float apex) {
    constexpr int kCount = 65534;
    tools3ds::Mesh mesh;
    mesh.name = "fan";
    mesh.vertices.push_back({0, 0, apex});
    for (int i = 0; i < kCount; ++i) {
        const double a = 2 * std::acos(-1.0) * i / kCount;
        mesh.vertices.push_back(
            {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0});
        mesh.faces.push_back({0, static_cast<std::uint16_t>(1 + i),
                              static_cast<std::uint16_t>(1 + (i + 1) % kCount)});
    }
    return tools3ds::Write3ds({}, {mesh});
}

// The archive the build packs, or the one KX_ARCHIVE names.
std::filesystem::path ArchivePath() {
    if (const char* chosen = std::getenv("KX_ARCHIVE")) return chosen;
    return std::filesystem::path(KX_BINARY_DIR) / "adatok.vbf";
}

// Loads a model into the store and gives the index of its last mesh, or -1.
std::int32_t LoadModel(const std::string& name) {
    engine::EngineInit();
    if (name == "hills") {
        engine::Load3DSFromMemory(Hills(), name, 255);
    } else if (name == "disc" || name == "cone") {
        engine::Load3DSFromMemory(Fan(name == "disc" ? 0.0f : 3.0f), name, 255);
    } else {
        const auto archive = ArchivePath();
        if (!std::filesystem::exists(archive)) return -1;
        std::filesystem::current_path(archive.parent_path());
        base::MemoryBlock block;
        try {
            archive::ReadFromBigfile(name, archive.filename().string(), block);
        } catch (const std::exception&) {
            return -1;
        }
        engine::Load3DSFromMemory(block.Bytes(), name, 255);
    }
    return engine::ObjectCount() - 1;
}

template <bool kIndexed> void CompileList(benchmark::State& state, const std::string& model) {
    const std::int32_t object = LoadModel(model);
    if (!engine::ValidObject(object)) {
        state.SkipWithError(("no model " + model).c_str());
        return;
    }
    for (auto _ : state) {
        const std::uint32_t list =
            kIndexed ? render::CompileModelList(object, render::kBoardLook)
                     : render::CompileModelListByScan(object, render::kBoardLook);
        glDeleteLists(list, 1);
    }
    state.counters["triangles"] = engine::Objects[object].MiniPolygonCount();
}

template <bool kIndexed> void Normals(benchmark::State& state, const std::string& model) {
    const std::int32_t object = LoadModel(model);
    if (!engine::ValidObject(object)) {
        state.SkipWithError(("no model " + model).c_str());
        return;
    }
    const std::int32_t faces = engine::Objects[object].MiniPolygonCount();
    for (auto _ : state) {
        if (kIndexed) {
            const engine::NormalIndex index = engine::BuildNormalIndex(object);
            for (std::int32_t f = 0; f < faces; ++f)
                for (int c = 0; c < 3; ++c)
                    benchmark::DoNotOptimize(engine::SmoothedNormal(index, f, c));
        } else {
            for (std::int32_t f = 0; f < faces; ++f)
                for (int c = 0; c < 3; ++c)
                    benchmark::DoNotOptimize(engine::SmoothedNormal(object, f, c));
        }
    }
    state.counters["triangles"] = faces;
}

void Register() {
    for (const char* model : {"tabla.3ds", "babu.3ds", "hills"}) {
        const bool big = std::string(model) == "hills";
        auto* fast = benchmark::RegisterBenchmark((std::string("CompileIndexed/") + model).c_str(),
                                                  CompileList<true>, std::string(model));
        auto* scan = benchmark::RegisterBenchmark((std::string("CompileFullScan/") + model).c_str(),
                                                  CompileList<false>, std::string(model));
        auto* quick = benchmark::RegisterBenchmark((std::string("NormalsIndexed/") + model).c_str(),
                                                   Normals<true>, std::string(model));
        auto* normals = benchmark::RegisterBenchmark(
            (std::string("NormalsFullScan/") + model).c_str(), Normals<false>, std::string(model));
        for (auto* b : {fast, scan, quick, normals})
            b->Unit(benchmark::kMillisecond);
        if (big) {
            scan->Iterations(1);
            normals->Iterations(1);
        }
    }
    // The full scan of these would take minutes.
    for (const char* model : {"disc", "cone"})
        benchmark::RegisterBenchmark((std::string("CompileIndexed/") + model).c_str(),
                                     CompileList<true>, std::string(model))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(std::string(model) == "cone" ? 1 : 10);
}

} // namespace

int main(int argc, char** argv) {
    if (!platform::testing::OpenHiddenGlWindow(64, 64)) {
        std::fprintf(stderr, "bench_display_lists needs a display (run it under xvfb-run)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::testing::ResetDouble();
    return 0;
}
