// The reader of the game's archive ("Bigfile"): one member, by name, whole into a block.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/memory_block.h"

namespace archive {

inline constexpr std::int32_t kNoSizeCap = std::numeric_limits<std::int32_t>::max();

// Reads the member `name` of `archiveName`, or with an empty archive name the file `name`,
// whole into `block`, and returns its size. Both names resolve beside the program
// (archive/location.h). Failures are reported through the engine's error box where they have a
// message of their own, and always end in base::IoFailure with the block left empty. A member
// larger than `maxSize` is damage, found before any of its data is read. Throws base::QuitRequest
// before anything once the game has been asked to end.
std::int32_t ReadFromBigfile(const std::string& name, const std::string& archiveName,
                             base::MemoryBlock& block, std::int32_t maxSize = kNoSizeCap);

// The size of the member `name` of `archiveName`, found as ReadFromBigfile finds it and with
// the same failures, without reading its data.
std::int32_t BigfileMemberSize(const std::string& name, const std::string& archiveName);

// The plain file `name`, resolved beside the program, read whole; nothing, and nothing
// reported, when it is missing, not a regular file, larger than `maxSize` or unreadable.
std::optional<std::vector<std::uint8_t>> ReadPlainFile(const std::string& name,
                                                       std::int32_t maxSize);

// While one lives, an archive's directory is read once and kept for every look-up in it, so
// that a load of many members reads it once. Read again when the file at that name changes.
class KeepDirectories {
  public:
    KeepDirectories();
    ~KeepDirectories();
    KeepDirectories(const KeepDirectories&) = delete;
    KeepDirectories& operator=(const KeepDirectories&) = delete;
};

} // namespace archive
