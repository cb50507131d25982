#include "archive/bigfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <vector>

#include "archive/bigfile_directory.h"
#include "archive/workspace.h"
#include "base/failure.h"
#include "base/report.h"
#include "base/unique_fd.h"

namespace archive {

namespace {

constexpr const char* kReadBeyondEnd = "Read beyond end of file";
// Entries fetched per read while scanning; bounded again by what the file holds.
constexpr std::int64_t kEntriesPerRead = 256;

struct OpenFile {
    base::UniqueFd handle;
    std::int64_t size = 0;
};

// Opens an existing regular file read-only. Non-blocking so that a FIFO can't stall
// start-up; anything but a regular file counts as unopenable.
bool OpenForReading(const std::string& name, OpenFile& file) {
    file.handle.fd =
        open(BesideProgram(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file.handle.fd < 0) return false;
    struct stat info {};
    if (fstat(file.handle.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    file.size = info.st_size;
    return true;
}

// Fills `out` from `offset` on; false when the file ends first or the read fails.
bool ReadAt(int fd, std::int64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = pread(fd, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

[[noreturn]] void ReportAndFail(const std::string& text) {
    base::ReportEngineError(text);
    throw base::IoFailure(text);
}

// Names the file that ended too soon: the archive, or the plain file read whole.
[[noreturn]] void ReadBeyondEnd(const std::string& fileName) {
    throw base::IoFailure(std::string(kReadBeyondEnd) + ": " + base::PrintableText(fileName));
}

// Scans the directory from the start and returns the first entry called `name`.
std::optional<BigfileEntry> FindEntry(const OpenFile& archive, const std::string& name,
                                      const std::string& archiveName) {
    std::array<std::uint8_t, kBigfileCountSize> head{};
    if (!ReadAt(archive.handle.fd, 0, head)) ReadBeyondEnd(archiveName);
    base::ByteCursor headCursor(head);
    std::int32_t count = 0;
    if (ReadBigfileCount(headCursor, count) == DirectoryStatus::Damaged)
        ReportAndFail("Bigfile(" + base::PrintableText(archiveName) + ") is damaged!");

    std::vector<std::uint8_t> chunk;
    std::int64_t position = kBigfileCountSize;
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t entries = std::min(left, kEntriesPerRead);
        const std::int64_t wanted = entries * static_cast<std::int64_t>(kBigfileEntrySize);
        const std::int64_t available = std::clamp<std::int64_t>(archive.size - position, 0, wanted);
        chunk.resize(static_cast<std::size_t>(available));
        if (!ReadAt(archive.handle.fd, position, chunk)) ReadBeyondEnd(archiveName);
        base::ByteCursor cursor(chunk);
        for (std::int64_t k = 0; k < entries; ++k) {
            BigfileEntry entry;
            switch (ReadBigfileEntry(cursor, entry)) {
            case DirectoryStatus::Truncated:
                ReadBeyondEnd(archiveName);
            case DirectoryStatus::Damaged:
                ReportAndFail("Bigfile(" + base::PrintableText(archiveName) + ") is damaged!");
            case DirectoryStatus::Ok:
                break;
            }
            if (BigfileNamesMatch(name, entry.name)) return entry;
        }
        position += wanted;
        left -= entries;
    }
    return std::nullopt;
}

// Gives the block `size` bytes read from `offset`; a size of 0 gets the engine's report
// and delivers nothing.
std::int32_t ReadIntoBlock(const OpenFile& file, const std::string& fileName, std::int64_t offset,
                           std::int32_t size, base::MemoryBlock& block) {
    // Checked before allocating, so a forged size never costs more memory than the file.
    if (offset > file.size || size > file.size - offset) ReadBeyondEnd(fileName);
    base::AllocBlock(block, static_cast<std::size_t>(size));
    if (size == 0) return 0;
    if (!ReadAt(file.handle.fd, offset, block.Bytes())) {
        base::FreeBlock(block);
        ReadBeyondEnd(fileName);
    }
    return size;
}

BigfileEntry FindMember(const std::string& name, const std::string& archiveName, OpenFile& file) {
    if (!OpenForReading(archiveName, file))
        ReportAndFail("Bigfile(" + base::PrintableText(archiveName) +
                      ") is missing or blocked by another application!");
    const auto entry = FindEntry(file, name, archiveName);
    if (!entry)
        ReportAndFail("File(" + base::PrintableText(name) + ") not found in bigfile(" +
                      base::PrintableText(archiveName) + ") !!");
    return *entry;
}

} // namespace

std::string BesideProgram(const std::string& name) {
    const std::string folder = ExeFolder();
    if (folder.empty() || name.empty() || name.front() == '/') return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::int32_t BigfileMemberSize(const std::string& name, const std::string& archiveName) {
    OpenFile file;
    return FindMember(name, archiveName, file).size;
}

std::int32_t ReadFromBigfile(const std::string& name, const std::string& archiveName,
                             base::MemoryBlock& block) {
    base::FreeBlock(block);
    OpenFile file;
    if (archiveName.empty()) {
        if (!OpenForReading(name, file))
            ReportAndFail("File not found or blocked by another application! " +
                          base::PrintableText(name));
        if (file.size > std::numeric_limits<std::int32_t>::max())
            throw base::IoFailure("File too large: " + base::PrintableText(name));
        return ReadIntoBlock(file, name, 0, static_cast<std::int32_t>(file.size), block);
    }

    const BigfileEntry entry = FindMember(name, archiveName, file);
    return ReadIntoBlock(file, archiveName, entry.offset, entry.size, block);
}

} // namespace archive
