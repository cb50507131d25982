// Helpers for the archive tests: a scratch folder that is the current directory while a test
// runs, and archives assembled byte by byte.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "archive/workspace.h"
#include "platform/platform_double.h"

namespace kxtest {

using Bytes = std::vector<std::uint8_t>;

inline void PutI32(Bytes& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

// A 50-byte name field as a writer for the game stores it: L = n + 1, the name, zeros.
inline Bytes NameField(const std::string& name) {
    Bytes field(50, 0);
    field[0] = static_cast<std::uint8_t>(name.size() + 1);
    for (std::size_t i = 0; i < name.size() && i < 49; ++i)
        field[1 + i] = name[i];
    return field;
}

struct RawEntry {
    Bytes field; // exactly 50 bytes
    std::int32_t size = 0;
    std::int32_t offset = 0;
};

// The count as given, the entries as given, then `tail`.
inline Bytes RawArchive(std::int32_t count, const std::vector<RawEntry>& entries,
                        const std::string& tail = {}) {
    Bytes out;
    PutI32(out, count);
    for (const auto& entry : entries) {
        out.insert(out.end(), entry.field.begin(), entry.field.end());
        PutI32(out, entry.size);
        PutI32(out, entry.offset);
    }
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

// A well-formed archive: directory first, then the members' data in order.
inline Bytes Archive(const std::vector<std::pair<std::string, std::string>>& members) {
    std::vector<RawEntry> entries;
    std::string data;
    std::int32_t offset = 4 + 58 * static_cast<std::int32_t>(members.size());
    for (const auto& [name, content] : members) {
        entries.push_back({NameField(name), static_cast<std::int32_t>(content.size()), offset});
        offset += static_cast<std::int32_t>(content.size());
        data += content;
    }
    return RawArchive(static_cast<std::int32_t>(members.size()), entries, data);
}

// The same, members given as bytes.
inline Bytes ArchiveOfBytes(const std::vector<std::pair<std::string, Bytes>>& members) {
    std::vector<std::pair<std::string, std::string>> text;
    for (const auto& [name, bytes] : members)
        text.emplace_back(name, std::string(bytes.begin(), bytes.end()));
    return Archive(text);
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The workspace of a program "koravex" in `folder`, unpacked with its archive: Temp beside it.
// An empty archive stands there until the test writes its own.
inline void SetUpPortableWorkspace(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(folder / "adatok.vbf")) WriteBytes(folder / "adatok.vbf", {});
    archive::SetUpWorkspace((folder / "koravex").string());
}

// A workspace with nothing in it but the marker the game keeps in a Temp it made.
inline bool HoldsNothingOfTheGames(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != archive::kTempMarkerName) return false;
    return true;
}

inline std::filesystem::path CurrentDir() {
    return std::filesystem::current_path();
}

// Each test runs in a fresh folder of its own, made current; recorded boxes start empty.
class ScratchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::testing::ResetDouble();
        original_ = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kx-archive-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = std::filesystem::canonical(pattern);
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(original_);
        // Folders a test closed to us are opened again so that everything can go.
        std::error_code error;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        for (auto it = std::filesystem::recursive_directory_iterator(dir_, error);
             it != std::filesystem::recursive_directory_iterator(); it.increment(error))
            if (it->is_directory() && !it->is_symlink())
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(dir_, error);
    }

    const std::vector<platform::testing::Box>& Boxes() { return platform::testing::Double().boxes; }

    std::filesystem::path dir_;

  private:
    std::filesystem::path original_;
};

} // namespace kxtest
