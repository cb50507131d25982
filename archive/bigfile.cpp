#include "archive/bigfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "archive/bigfile_directory.h"
#include "archive/location.h"
#include "archive/state.h"
#include "base/failure.h"
#include "base/report.h"
#include "base/unique_fd.h"
#include "base/way_out.h"

namespace archive {

namespace {

constexpr const char* kReadBeyondEnd = "Read beyond end of file";

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
    base::ShowEngineError(text);
    throw base::IoFailure(text);
}

// Names the file that ended too soon: the archive, or the plain file read whole.
[[noreturn]] void ReadBeyondEnd(const std::string& fileName) {
    throw base::IoFailure(std::string(kReadBeyondEnd) + ": " + base::PrintablePath(fileName));
}

std::string Damaged(const std::string& archiveName) {
    return "Bigfile(" + base::PrintablePath(archiveName) + ") is damaged!";
}

// The kept directory was read from the file `name` now is.
bool ReadFrom(const KeptDirectory& kept, const std::string& name, const struct stat& info) {
    return name == kept.archiveName && info.st_dev == kept.device && info.st_ino == kept.inode &&
           info.st_size == kept.size && info.st_mtim.tv_sec == kept.modified.tv_sec &&
           info.st_mtim.tv_nsec == kept.modified.tv_nsec;
}

// The count and every entry it promises that the file holds, in one read. A count is damage
// before anything else is read, so a forged one costs no more than the largest directory.
BigfileDirectory ReadDirectory(const OpenFile& archive, const std::string& archiveName) {
    std::array<std::uint8_t, kBigfileCountSize> head{};
    if (!ReadAt(archive.handle.fd, 0, head)) ReadBeyondEnd(archiveName);
    base::ByteCursor headCursor(head);
    std::int32_t count = 0;
    if (ReadBigfileCount(headCursor, count) == DirectoryStatus::Damaged)
        return {{}, DirectoryStatus::Damaged};
    const std::int64_t wanted =
        static_cast<std::int64_t>(kBigfileCountSize) + std::int64_t{count} * kBigfileEntrySize;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(wanted, archive.size)));
    if (!ReadAt(archive.handle.fd, 0, bytes)) ReadBeyondEnd(archiveName);
    return ReadBigfileDirectory(bytes);
}

// The directory of the open archive: the kept one while it still describes the file.
const BigfileDirectory& Directory(const OpenFile& archive, const std::string& archiveName,
                                  BigfileDirectory& fresh) {
    struct stat info {};
    const bool known = fstat(archive.handle.fd, &info) == 0;
    if (state.KeepDepth > 0 && known && state.Kept && ReadFrom(*state.Kept, archiveName, info))
        return state.Kept->directory;
    fresh = ReadDirectory(archive, archiveName);
    if (state.KeepDepth == 0 || !known) return fresh;
    state.Kept = KeptDirectory{archiveName,  info.st_dev,  info.st_ino,
                               info.st_size, info.st_mtim, std::move(fresh)};
    return state.Kept->directory;
}

// The first entry called `name`, looked for among the entries before any fault; the fault
// counts only when the name is not among them.
BigfileEntry FindEntry(const OpenFile& archive, const std::string& name,
                       const std::string& archiveName) {
    BigfileDirectory fresh;
    const BigfileDirectory& directory = Directory(archive, archiveName, fresh);
    for (const BigfileEntry& entry : directory.entries)
        if (BigfileNamesMatch(name, entry.name)) return entry;
    switch (directory.status) {
    case DirectoryStatus::Truncated:
        ReadBeyondEnd(archiveName);
    case DirectoryStatus::Damaged:
        ReportAndFail(Damaged(archiveName));
    case DirectoryStatus::Ok:
        break;
    }
    ReportAndFail("File(" + base::PrintableText(name) + ") not found in bigfile(" +
                  base::PrintablePath(archiveName) + ") !!");
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
    base::StopIfQuitRequested();
    if (!OpenForReading(archiveName, file))
        ReportAndFail("Bigfile(" + base::PrintablePath(archiveName) +
                      ") is missing or blocked by another application!");
    return FindEntry(file, name, archiveName);
}

} // namespace

std::int32_t BigfileMemberSize(const std::string& name, const std::string& archiveName) {
    OpenFile file;
    return FindMember(name, archiveName, file).size;
}

std::int32_t ReadFromBigfile(const std::string& name, const std::string& archiveName,
                             base::MemoryBlock& block, std::int32_t maxSize) {
    base::FreeBlock(block);
    OpenFile file;
    if (archiveName.empty()) {
        base::StopIfQuitRequested();
        if (!OpenForReading(name, file))
            ReportAndFail("File not found or blocked by another application! " +
                          base::PrintablePath(name));
        if (file.size > maxSize)
            throw base::IoFailure("File too large: " + base::PrintablePath(name));
        return ReadIntoBlock(file, name, 0, static_cast<std::int32_t>(file.size), block);
    }

    const BigfileEntry entry = FindMember(name, archiveName, file);
    if (entry.size > maxSize)
        ReportAndFail(Damaged(archiveName) + " " + base::PrintableText(name) + " holds " +
                      std::to_string(entry.size) + " bytes, more than the " +
                      std::to_string(maxSize) + " it may.");
    return ReadIntoBlock(file, archiveName, entry.offset, entry.size, block);
}

std::optional<std::vector<std::uint8_t>> ReadPlainFile(const std::string& name,
                                                       std::int32_t maxSize) {
    OpenFile file;
    if (!OpenForReading(name, file) || file.size > maxSize) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size));
    if (!ReadAt(file.handle.fd, 0, bytes)) return std::nullopt;
    return bytes;
}

KeepDirectories::KeepDirectories() {
    ++state.KeepDepth;
}

KeepDirectories::~KeepDirectories() {
    if (--state.KeepDepth == 0) state.Kept.reset();
}

} // namespace archive
