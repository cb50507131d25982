// koravex-archive: builds and inspects the game's archives.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "archive/bigfile_directory.h"
#include "base/failure.h"

namespace {

using archive::BigfileEntry;

constexpr const char* kUsage =
    "usage: koravex-archive pack ARCHIVE FILE...\n"
    "       koravex-archive list ARCHIVE\n"
    "       koravex-archive extract ARCHIVE [MEMBER...]\n"
    "\n"
    "  pack     writes ARCHIVE holding each FILE under its base name (at most 48 bytes;\n"
    "           names must differ in more than letter case)\n"
    "  list     prints each directory entry: name, size and offset, tab-separated\n"
    "  extract  writes the named members (all of them when none is named) into the\n"
    "           current directory; a name finds its first entry, in any letter case\n";

struct Failure {
    std::string text;
};

[[noreturn]] void Fail(const std::string& text) {
    throw Failure{text};
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Writes a fresh file, never through a link that stands under its name.
void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) Fail(path + ": cannot create (" + std::strerror(errno) + ")");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            close(fd);
            Fail(path + ": write failed");
        }
        done += static_cast<std::size_t>(put);
    }
    if (close(fd) != 0) Fail(path + ": write failed");
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Names come from files we don't trust: shown the way the game shows text from files.
std::string Printable(std::string_view name) {
    return name.empty() ? "(no name)" : base::PrintableText(name);
}

bool DataInFile(const BigfileEntry& entry, std::size_t fileSize) {
    const auto offset = static_cast<std::size_t>(entry.offset);
    return offset <= fileSize && static_cast<std::size_t>(entry.size) <= fileSize - offset;
}

void Pack(const std::string& archivePath, const std::vector<std::string>& files) {
    struct Member {
        BigfileEntry entry;
        std::vector<std::uint8_t> data;
    };
    if (files.size() > static_cast<std::size_t>(archive::kBigfileMaxEntries))
        Fail(archivePath + ": the game reads at most " +
             std::to_string(archive::kBigfileMaxEntries) + " members");
    std::vector<Member> members;
    std::int64_t offset = archive::kBigfileCountSize +
                          static_cast<std::int64_t>(files.size()) * archive::kBigfileEntrySize;
    for (const auto& path : files) {
        Member member;
        member.entry.name = BaseName(path);
        if (!archive::IsStorableBigfileName(member.entry.name))
            Fail(path + ": the member name must be 1 to " +
                 std::to_string(archive::kBigfileMaxNameLength) + " bytes");
        for (const auto& other : members)
            if (archive::BigfileNamesMatch(member.entry.name, other.entry.name))
                Fail(path + ": a member named " + other.entry.name + " is already packed");
        auto data = ReadFile(path);
        if (!data) Fail(path + ": cannot read");
        member.data = std::move(*data);
        const auto size = static_cast<std::int64_t>(member.data.size());
        if (offset + size > std::numeric_limits<std::int32_t>::max())
            Fail(path + ": the archive would exceed 2 GiB, which its offsets can't address");
        member.entry.size = static_cast<std::int32_t>(size);
        member.entry.offset = static_cast<std::int32_t>(offset);
        offset += size;
        members.push_back(std::move(member));
    }

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(offset));
    const auto count = static_cast<std::uint32_t>(members.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    for (const auto& member : members) {
        const auto field = archive::EncodeBigfileEntry(member.entry);
        out.insert(out.end(), field.begin(), field.end());
    }
    for (const auto& member : members)
        out.insert(out.end(), member.data.begin(), member.data.end());

    // Written beside the target and renamed, so a failed pack never leaves half an archive.
    const std::string partial = archivePath + ".partial";
    WriteFile(partial, out.data(), out.size());
    if (rename(partial.c_str(), archivePath.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        unlink(partial.c_str());
        Fail(archivePath + ": cannot write (" + reason + ")");
    }
}

struct LoadedArchive {
    std::vector<std::uint8_t> bytes;
    archive::BigfileDirectory directory;
};

LoadedArchive Load(const std::string& archivePath) {
    LoadedArchive loaded;
    auto bytes = ReadFile(archivePath);
    if (!bytes) Fail(archivePath + ": cannot read");
    loaded.bytes = std::move(*bytes);
    loaded.directory = archive::ReadBigfileDirectory(loaded.bytes);
    return loaded;
}

std::string DirectoryProblem(const std::string& archivePath, const LoadedArchive& loaded) {
    const auto k = std::to_string(loaded.directory.entries.size());
    switch (loaded.directory.status) {
    case archive::DirectoryStatus::Truncated:
        return archivePath + ": the directory runs past the end of the file (entry " + k + ")";
    case archive::DirectoryStatus::Damaged:
        return archivePath + ": the directory is damaged at entry " + k +
               " (negative count or above " + std::to_string(archive::kBigfileMaxEntries) +
               ", name length above 49, or negative size or offset)";
    case archive::DirectoryStatus::Ok:
        break;
    }
    return {};
}

int List(const std::string& archivePath) {
    const auto loaded = Load(archivePath);
    int status = 0;
    for (const auto& entry : loaded.directory.entries) {
        std::printf("%s\t%d\t%d\n", Printable(entry.name).c_str(), entry.size, entry.offset);
        if (!DataInFile(entry, loaded.bytes.size())) {
            std::fprintf(stderr, "koravex-archive: %s: data of %s runs past the end of the file\n",
                         archivePath.c_str(), Printable(entry.name).c_str());
            status = 1;
        }
    }
    const auto problem = DirectoryProblem(archivePath, loaded);
    if (!problem.empty()) Fail(problem);
    return status;
}

std::string UpperAscii(std::string name) {
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

void ExtractEntry(const std::string& archivePath, const LoadedArchive& loaded,
                  const BigfileEntry& entry) {
    if (!IsBareName(entry.name))
        Fail(archivePath + ": refusing to extract " + Printable(entry.name) +
             ", which is not a plain file name");
    if (!DataInFile(entry, loaded.bytes.size()))
        Fail(archivePath + ": data of " + Printable(entry.name) + " runs past the end of the file");
    WriteFile(entry.name, loaded.bytes.data() + entry.offset, static_cast<std::size_t>(entry.size));
}

int Extract(const std::string& archivePath, const std::vector<std::string>& names) {
    const auto loaded = Load(archivePath);
    const auto& entries = loaded.directory.entries;
    const auto firstMatch = [&](std::string_view name) -> const BigfileEntry* {
        for (const auto& entry : entries)
            if (archive::BigfileNamesMatch(name, entry.name)) return &entry;
        return nullptr;
    };
    if (!names.empty()) {
        for (const auto& name : names) {
            const BigfileEntry* entry = firstMatch(name);
            if (!entry) {
                const auto problem = DirectoryProblem(archivePath, loaded);
                Fail(problem.empty() ? archivePath + ": no member named " + Printable(name)
                                     : problem);
            }
            ExtractEntry(archivePath, loaded, *entry);
        }
        return 0;
    }
    // Only what the game could find: unnamed entries and later namesakes are skipped.
    std::unordered_set<std::string> seen;
    for (const auto& entry : entries)
        if (!entry.name.empty() && seen.insert(UpperAscii(entry.name)).second)
            ExtractEntry(archivePath, loaded, entry);
    const auto problem = DirectoryProblem(archivePath, loaded);
    if (!problem.empty()) Fail(problem);
    return 0;
}

int Usage(const char* problem) {
    std::fprintf(stderr, "koravex-archive: %s\n%s", problem, kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        if (command == "pack") {
            if (args.size() < 3) return Usage("pack needs an archive and at least one file");
            Pack(args[1], {args.begin() + 2, args.end()});
            return 0;
        }
        if (command == "list") {
            if (args.size() != 2) return Usage("list needs exactly one archive");
            return List(args[1]);
        }
        if (command == "extract") {
            if (args.size() < 2) return Usage("extract needs an archive");
            return Extract(args[1], {args.begin() + 2, args.end()});
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "koravex-archive: %s\n", failure.text.c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "koravex-archive: out of memory\n");
        return 1;
    }
    return Usage(("unknown command: " + command).c_str());
}
