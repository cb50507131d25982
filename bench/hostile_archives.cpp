// Writes archives that attack the loaders' budgets, each into a folder of its own beside a
// copy of nothing else: bench/hostile_start.sh puts the program next to each and measures
// how long the window or the failure box takes and how much memory the game peaks at.
// Usage: hostile_archives <the game's archive> <output folder> [archive name...]
// With names, only the archives named are written.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "archive/bigfile_directory.h"
#include "game/asset_manifest.h"
#include "tests/support/engine/crafted_meshes.h"
#include "tools/model3ds/model3ds_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A picture whose rows are left zero: only its size matters here.
Bytes Picture(int width, int height, int bits) {
    const std::uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t offset = 14 + 40 + palette;
    Bytes out{'B', 'M'};
    Put32(out, offset + stride * static_cast<std::uint32_t>(height));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    for (std::uint32_t i = 0; i < palette; ++i)
        out.push_back(static_cast<std::uint8_t>(i % 4 == 3 ? 0 : 255 * (i / 4 % 2)));
    out.resize(out.size() + static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    return out;
}

struct Member {
    std::string name;
    std::string blob; // the key of the bytes it points at; members may share them
};

// Writes the archive: each blob once, every member pointing at its blob.
void WriteArchive(const fs::path& path, const std::vector<Member>& members,
                  const std::map<std::string, Bytes>& blobs) {
    std::map<std::string, std::int32_t> offsets;
    std::int32_t next = static_cast<std::int32_t>(archive::kBigfileCountSize +
                                                  archive::kBigfileEntrySize * members.size());
    Bytes data;
    for (const auto& [key, bytes] : blobs) {
        offsets[key] = next;
        next += static_cast<std::int32_t>(bytes.size());
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    Bytes out;
    Put32(out, static_cast<std::uint32_t>(members.size()));
    for (const Member& m : members) {
        const auto entry = archive::EncodeBigfileEntry(
            {m.name, static_cast<std::int32_t>(blobs.at(m.blob).size()), offsets.at(m.blob)});
        out.insert(out.end(), entry.begin(), entry.end());
    }
    out.insert(out.end(), data.begin(), data.end());
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    std::printf("%-20s %6.1f MiB\n", path.parent_path().filename().c_str(),
                static_cast<double>(out.size()) / (1 << 20));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: hostile_archives <the game's archive> <output folder> "
                             "[archive name...]\n");
        return 2;
    }
    const std::vector<std::string> only(argv + 3, argv + argc);
    std::ifstream in(argv[1], std::ios::binary);
    const Bytes game{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const archive::BigfileDirectory directory = archive::ReadBigfileDirectory(game);
    if (directory.status != archive::DirectoryStatus::Ok || directory.entries.empty()) {
        std::fprintf(stderr, "hostile_archives: %s is not the game's archive\n", argv[1]);
        return 1;
    }
    // The game's own members, each under its own name.
    std::map<std::string, Bytes> own;
    for (const auto& e : directory.entries)
        own[e.name] = Bytes(game.begin() + e.offset, game.begin() + e.offset + e.size);
    const fs::path out = argv[2];

    // Every case starts from the game's archive and swaps some members.
    auto write = [&](const std::string& name, const std::map<std::string, std::string>& swaps,
                     std::map<std::string, Bytes> extra) {
        if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end()) return;
        std::vector<Member> members;
        std::map<std::string, Bytes> blobs = std::move(extra);
        for (const auto& e : directory.entries) {
            const auto swap = swaps.find(e.name);
            members.push_back({e.name, swap == swaps.end() ? e.name : swap->second});
            if (swap == swaps.end()) blobs[e.name] = own[e.name];
        }
        WriteArchive(out / name / "adatok.vbf", members, blobs);
    };
    auto picturesTo = [&](const std::string& blob) {
        std::map<std::string, std::string> swaps;
        for (const game::ArchiveMember& member : game::kArchiveMembers)
            if (member.loader == game::Loader::Picture) swaps[member.name] = blob;
        return swaps;
    };

    write("game", {}, {});
    write("one-bit-8192", picturesTo("big"), {{"big", Picture(8192, 8192, 1)}});
    write("true-colour-2048", picturesTo("big"), {{"big", Picture(2048, 2048, 32)}});
    write("true-colour-64mb", picturesTo("big"), {{"big", Picture(8192, 2720, 24)}});
    write("paletted-4096", picturesTo("big"), {{"big", Picture(4096, 4096, 8)}});
    const Bytes edge = tools3ds::Write3ds({}, {crafted::Edge()});
    write("edge-models", {{"tabla.3ds", "edge"}, {"babu.3ds", "edge"}}, {{"edge", edge}});
    // Normals crowded at each other's 60-degree edge round one vertex, and vertices shared by
    // 512 triangles pointing every way: the most smoothing a model within the store's limit asks.
    write("crowded-models", {{"tabla.3ds", "crowded"}, {"babu.3ds", "crowded"}},
          {{"crowded", tools3ds::Write3ds({}, {crafted::CrowdedFan()})}});
    write("hub-models", {{"tabla.3ds", "hubs"}, {"babu.3ds", "hubs"}},
          {{"hubs", tools3ds::Write3ds({}, {crafted::Hubs(128)})}});

    auto both = picturesTo("big");
    both["tabla.3ds"] = both["babu.3ds"] = "edge";
    write("all-at-once", both, {{"big", Picture(2048, 2048, 32)}, {"edge", edge}});

    Bytes off = own["tabla.3ds"];
    off[2] = static_cast<std::uint8_t>(off[2] + 3); // the main chunk three bytes too long
    Bytes zero = own["babu.3ds"];
    zero[2] = zero[3] = zero[4] = zero[5] = 0; // and a main chunk of length 0
    write("main-chunk-off", {{"tabla.3ds", "off"}, {"babu.3ds", "zero"}},
          {{"off", off}, {"zero", zero}});

    Bytes squares = own["negyzetek.dat"];
    const std::string same = "(1,1)(1,1)(1,1)(1,1)";
    std::copy(same.begin(), same.end(), squares.begin() + 21 * 16);
    write("degenerate-square", {{"negyzetek.dat", "squares"}}, {{"squares", squares}});
    return 0;
}
