// The archive's directory format, shared by the game's reader and the archive tool:
// an int32 count, then 58-byte entries (50-byte name field, int32 size, int32 offset).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_cursor.h"

namespace archive {

inline constexpr std::size_t kBigfileCountSize = 4;
inline constexpr std::size_t kBigfileEntrySize = 58;
inline constexpr std::size_t kBigfileNameFieldSize = 50;
inline constexpr std::size_t kBigfileMaxNameLength = 48;
// The most entries a directory may hold, far above the game's 14: a larger count is damage, so
// that a forged count costs no more than reading this many.
inline constexpr std::int32_t kBigfileMaxEntries = 4096;

struct BigfileEntry {
    std::string name; // empty when the field holds no terminated name; never found then
    std::int32_t size = 0;
    std::int32_t offset = 0;
};

enum class DirectoryStatus {
    Ok,
    Truncated, // the bytes end inside the count or an entry
    Damaged,   // count negative or above kBigfileMaxEntries, name length above 49, negative
               // size or offset
};

DirectoryStatus ReadBigfileCount(base::ByteCursor& cursor, std::int32_t& count);
DirectoryStatus ReadBigfileEntry(base::ByteCursor& cursor, BigfileEntry& entry);

// ASCII case-insensitive, exact length; an empty stored name matches nothing.
bool BigfileNamesMatch(std::string_view requested, std::string_view stored);

struct BigfileDirectory {
    std::vector<BigfileEntry> entries; // the entries read before any fault
    DirectoryStatus status = DirectoryStatus::Ok;
};

// The whole directory of an archive held in memory.
BigfileDirectory ReadBigfileDirectory(std::span<const std::uint8_t> archive);

// A name the format can store: 1 to 48 bytes, none of them zero.
bool IsStorableBigfileName(std::string_view name);
// The 58 bytes of an entry as a writer stores them: L = n + 1, the name, zeros.
std::array<std::uint8_t, kBigfileEntrySize> EncodeBigfileEntry(const BigfileEntry& entry);

} // namespace archive
