// Any bytes as an archive: the reader, scanning the file in chunks, must agree with the
// in-memory parse of the same bytes, and must never deliver data it does not hold.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/bigfile.h"
#include "archive/bigfile_directory.h"
#include "base/failure.h"
#include "platform/platform_double.h"

namespace {

void WriteArchive(const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen("fuzz.vbf", "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) std::abort();
}

void CheckRequest(const std::string& name, std::span<const std::uint8_t> bytes) {
    const auto directory = archive::ReadBigfileDirectory(bytes);
    const archive::BigfileEntry* match = nullptr;
    for (const auto& entry : directory.entries)
        if (archive::BigfileNamesMatch(name, entry.name)) {
            match = &entry;
            break;
        }
    const bool inFile = match && static_cast<std::size_t>(match->offset) <= bytes.size() &&
                        static_cast<std::size_t>(match->size) <= bytes.size() - match->offset;

    base::MemoryBlock block;
    try {
        const std::int32_t size = archive::ReadFromBigfile(name, "fuzz.vbf", block);
        if (!inFile || size != match->size || block.size != static_cast<std::size_t>(size))
            std::abort();
        if (size > 0 && std::memcmp(block.data.get(), bytes.data() + match->offset, size) != 0)
            std::abort();
    } catch (const base::IoFailure&) {
        if (inFile || !block.Empty()) std::abort();
    }
    platform::testing::Double().boxes.clear();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char folder[] = "/tmp/kx-fuzz-bigfile-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    std::atexit([] {
        unlink("fuzz.vbf");
        rmdir(folder);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteArchive(data, size);
    const std::span<const std::uint8_t> bytes(data, size);
    CheckRequest("negyzetek.dat", bytes);
    const auto directory = archive::ReadBigfileDirectory(bytes);
    if (!directory.entries.empty()) CheckRequest(directory.entries.back().name, bytes);
    return 0;
}
