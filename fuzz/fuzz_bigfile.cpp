// Any bytes as an archive: the reader, scanning the file in chunks, must agree with the
// in-memory parse of the same bytes, and must never deliver data it does not hold.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/bigfile.h"
#include "archive/bigfile_directory.h"
#include "base/failure.h"
#include "platform/platform_double.h"

namespace {

// The archive lives in an anonymous in-memory file, reached by an absolute path: nothing is
// written to disk, nothing is left behind however the run ends, the working directory stays
// as it was (relative corpus paths, -jobs and -workers rely on it), and parallel workers never
// share a file.
int ArchiveFd() {
    static const int fd = memfd_create("fuzz.vbf", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    return fd;
}

const std::string& ArchivePath() {
    static const std::string path = "/proc/self/fd/" + std::to_string(ArchiveFd());
    return path;
}

void WriteArchive(const std::uint8_t* data, std::size_t size) {
    const int fd = ArchiveFd();
    if (ftruncate(fd, 0) != 0) std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (wrote <= 0) std::abort();
        done += static_cast<std::size_t>(wrote);
    }
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
        const std::int32_t size = archive::ReadFromBigfile(name, ArchivePath(), block);
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteArchive(data, size);
    const std::span<const std::uint8_t> bytes(data, size);
    CheckRequest("negyzetek.dat", bytes);
    const auto directory = archive::ReadBigfileDirectory(bytes);
    if (!directory.entries.empty()) CheckRequest(directory.entries.back().name, bytes);
    return 0;
}
