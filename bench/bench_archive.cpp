// Reading the game's archive: every member once as at start-up, a member behind a long
// directory, and parsing the board definition.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/bigfile.h"
#include "archive/bigfile_directory.h"
#include "game/asset_manifest.h"
#include "platform/platform_double.h"
#include "rules/board_definition.h"
#include "rules/squares.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder, made current, holding an archive of `entries` one-byte members.
struct LongArchive {
    fs::path folder;

    explicit LongArchive(int entries) {
        std::string pattern = (fs::temp_directory_path() / "kx-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        fs::current_path(folder);
        std::vector<std::uint8_t> bytes(4);
        const auto count = static_cast<std::uint32_t>(entries);
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<std::uint8_t>(count >> (8 * i));
        const std::int32_t dataStart = 4 + 58 * entries;
        for (int k = 0; k < entries; ++k) {
            const auto entry = archive::EncodeBigfileEntry(
                {"member" + std::to_string(k) + ".bin", 1, dataStart + k});
            bytes.insert(bytes.end(), entry.begin(), entry.end());
        }
        bytes.resize(bytes.size() + entries, 'x');
        std::FILE* out = std::fopen("long.vbf", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    ~LongArchive() {
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(folder);
    }
};

void ReadEveryGameMember(benchmark::State& state) {
    const fs::path built = fs::path(KX_BINARY_DIR) / "adatok.vbf";
    if (!fs::exists(built)) {
        state.SkipWithError("adatok.vbf has not been built");
        return;
    }
    fs::current_path(KX_BINARY_DIR);
    for (auto _ : state) {
        for (const game::ArchiveMember& member : game::kArchiveMembers) {
            base::MemoryBlock block;
            benchmark::DoNotOptimize(archive::ReadFromBigfile(member.name, "adatok.vbf", block));
        }
    }
    state.SetItemsProcessed(state.iterations() * std::size(game::kArchiveMembers));
}
BENCHMARK(ReadEveryGameMember);

void ReadLastOfManyEntries(benchmark::State& state) {
    const auto entries = static_cast<int>(state.range(0));
    LongArchive archiveFile(entries);
    const std::string last = "MEMBER" + std::to_string(entries - 1) + ".BIN";
    for (auto _ : state) {
        base::MemoryBlock block;
        benchmark::DoNotOptimize(archive::ReadFromBigfile(last, "long.vbf", block));
    }
}
BENCHMARK(ReadLastOfManyEntries)->Arg(14)->Arg(1000)->Arg(100000);

void ParseBoardDefinition(benchmark::State& state) {
    std::string text;
    for (const auto& square : rules::DeriveSquares())
        text += rules::SquareLine(square) + "\r\n";
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::ParseBoardDefinition(bytes));
}
BENCHMARK(ParseBoardDefinition);

} // namespace

BENCHMARK_MAIN();
