#include "archive/bigfile_directory.h"

#include <algorithm>
#include <cstring>

namespace archive {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The run of bytes 1..L up to the first zero; empty when no zero lies among them.
std::string NameFromField(std::span<const std::uint8_t> field) {
    const std::size_t length = field[0];
    const auto significant = field.subspan(1, length);
    const auto zero = std::find(significant.begin(), significant.end(), std::uint8_t{0});
    if (zero == significant.end()) return {};
    return std::string(significant.begin(), zero);
}

void PutI32(std::uint8_t* out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

} // namespace

DirectoryStatus ReadBigfileCount(base::ByteCursor& cursor, std::int32_t& count) {
    const auto value = cursor.I32();
    if (!value) return DirectoryStatus::Truncated;
    if (*value < 0 || *value > kBigfileMaxEntries) return DirectoryStatus::Damaged;
    count = *value;
    return DirectoryStatus::Ok;
}

DirectoryStatus ReadBigfileEntry(base::ByteCursor& cursor, BigfileEntry& entry) {
    const auto field = cursor.Bytes(kBigfileNameFieldSize);
    const auto size = cursor.I32();
    const auto offset = cursor.I32();
    if (!field || !size || !offset) return DirectoryStatus::Truncated;
    if ((*field)[0] > kBigfileNameFieldSize - 1 || *size < 0 || *offset < 0)
        return DirectoryStatus::Damaged;
    entry.name = NameFromField(*field);
    entry.size = *size;
    entry.offset = *offset;
    return DirectoryStatus::Ok;
}

bool BigfileNamesMatch(std::string_view requested, std::string_view stored) {
    if (stored.empty() || requested.size() != stored.size()) return false;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (UpperAscii(requested[i]) != UpperAscii(stored[i])) return false;
    return true;
}

BigfileDirectory ReadBigfileDirectory(std::span<const std::uint8_t> archive) {
    BigfileDirectory directory;
    base::ByteCursor cursor(archive);
    std::int32_t count = 0;
    directory.status = ReadBigfileCount(cursor, count);
    // Each entry is checked as it is read, so a hostile count costs no more than the bytes.
    for (std::int32_t k = 0; k < count && directory.status == DirectoryStatus::Ok; ++k) {
        BigfileEntry entry;
        directory.status = ReadBigfileEntry(cursor, entry);
        if (directory.status == DirectoryStatus::Ok) directory.entries.push_back(std::move(entry));
    }
    return directory;
}

bool IsStorableBigfileName(std::string_view name) {
    return !name.empty() && name.size() <= kBigfileMaxNameLength &&
           name.find('\0') == std::string_view::npos;
}

std::array<std::uint8_t, kBigfileEntrySize> EncodeBigfileEntry(const BigfileEntry& entry) {
    std::array<std::uint8_t, kBigfileEntrySize> out{};
    const std::size_t n = std::min(entry.name.size(), kBigfileMaxNameLength);
    out[0] = static_cast<std::uint8_t>(n + 1);
    std::memcpy(out.data() + 1, entry.name.data(), n);
    PutI32(out.data() + kBigfileNameFieldSize, entry.size);
    PutI32(out.data() + kBigfileNameFieldSize + 4, entry.offset);
    return out;
}

} // namespace archive
