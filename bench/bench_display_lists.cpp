// Compiling the board and piece display lists: the indexed normals against a full scan of the
// triangles per corner, for the shipped models and a 20,000-triangle model; the indexed normals
// alone for models at the store's limit that defeat the simple shortcuts; and loading a model as
// the game does (parsing it, then compiling its list) for the shipped models, the baseline, and
// for crafted ones up to the model's size limit. Compare the crafted ones by their ratio to the
// shipped board's time in the same run.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/bigfile.h"
#include "engine/geometry.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "platform/platform_double.h"
#include "render/model_lists.h"
#include "tests/support/engine/crafted_meshes.h"
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

// Crafted models at the store's limit (tests/support/engine/crafted_meshes.h); "crowded-16mb"
// repeats the crowded fan up to the largest model loaded, of which the game draws the last.
std::vector<std::uint8_t> Crafted(const std::string& name) {
    if (name == "edge") return tools3ds::Write3ds({}, {crafted::Edge()});
    if (name == "crowded") return tools3ds::Write3ds({}, {crafted::CrowdedFan()});
    if (name == "hubs-512") return tools3ds::Write3ds({}, {crafted::Hubs(128)});
    if (name == "hubs-1024") return tools3ds::Write3ds({}, {crafted::Hubs(64)});
    if (name == "crowded-16mb") {
        const tools3ds::Mesh fan = crafted::CrowdedFan();
        const std::size_t one = tools3ds::Write3ds({}, {fan}).size();
        return tools3ds::Write3ds(
            {}, std::vector<tools3ds::Mesh>(engine::kMaxModelBytes / (one + 64), fan));
    }
    return {};
}

// The archive the build packs, or the one KX_ARCHIVE names.
std::filesystem::path ArchivePath() {
    if (const char* chosen = std::getenv("KX_ARCHIVE")) return chosen;
    return std::filesystem::path(KX_BINARY_DIR) / "adatok.vbf";
}

// The bytes of a model: built here, or a member of the archive; empty when there is none.
std::vector<std::uint8_t> ModelBytes(const std::string& name) {
    if (name == "hills") return Hills();
    // 65534 triangles round one vertex: a flat disc, or a cone whose normals spread round a
    // circle, which no shortcut helps (each corner there still sums its neighbours in order).
    if (name == "disc" || name == "cone")
        return tools3ds::Write3ds({}, {crafted::Fan(65534, name == "disc" ? 0.0f : 3.0f)});
    if (std::vector<std::uint8_t> bytes = Crafted(name); !bytes.empty()) return bytes;
    const auto archive = ArchivePath();
    if (!std::filesystem::exists(archive)) return {};
    std::filesystem::current_path(archive.parent_path());
    base::MemoryBlock block;
    try {
        archive::ReadFromBigfile(name, archive.filename().string(), block);
    } catch (const std::exception&) {
        return {};
    }
    return {block.Bytes().begin(), block.Bytes().end()};
}

// Loads a model into the store and gives the index of its last mesh, or -1.
std::int32_t LoadModel(const std::string& name) {
    engine::EngineInit();
    engine::Load3DSFromMemory(ModelBytes(name), name, 255);
    return engine::ObjectCount() - 1;
}

// A model loaded as the game loads it: parsed into an empty store, its last mesh compiled.
void LoadAndCompile(benchmark::State& state, const std::string& model) {
    const std::vector<std::uint8_t> bytes = ModelBytes(model);
    if (bytes.empty()) {
        state.SkipWithError(("no model " + model).c_str());
        return;
    }
    for (auto _ : state) {
        engine::EngineInit();
        engine::Load3DSFromMemory(bytes, model, 255);
        glDeleteLists(render::CompileModelList(engine::ObjectCount() - 1, render::kBoardLook), 1);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

template <bool kIndexed> void CompileList(benchmark::State& state, const std::string& model) {
    const std::int32_t object = LoadModel(model);
    if (!engine::ValidObject(object)) {
        state.SkipWithError(("no model " + model).c_str());
        return;
    }
    for (auto _ : state) {
        const std::uint32_t list = kIndexed
                                       ? render::CompileModelList(object, render::kBoardLook)
                                       : render::CompileModelListByScan(object, render::kBoardLook);
        glDeleteLists(list, 1);
    }
    state.counters["triangles"] = engine::state.Objects[object].MiniPolygonCount();
}

template <bool kIndexed> void Normals(benchmark::State& state, const std::string& model) {
    const std::int32_t object = LoadModel(model);
    if (!engine::ValidObject(object)) {
        state.SkipWithError(("no model " + model).c_str());
        return;
    }
    const std::int32_t faces = engine::state.Objects[object].MiniPolygonCount();
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
    for (const char* model : {"disc", "cone", "edge"})
        benchmark::RegisterBenchmark((std::string("CompileIndexed/") + model).c_str(),
                                     CompileList<true>, std::string(model))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(std::string(model) == "disc" ? 10 : 1);
    for (const char* model :
         {"tabla.3ds", "babu.3ds", "edge", "crowded", "crowded-16mb", "hubs-512", "hubs-1024"})
        benchmark::RegisterBenchmark((std::string("LoadModel/") + model).c_str(), LoadAndCompile,
                                     std::string(model))
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
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
