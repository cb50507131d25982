#include "archive/workspace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "archive/bigfile.h"
#include "base/memory_block.h"
#include "base/unique_fd.h"
#include "base/failure.h"

namespace archive {

std::string ExeFileName;
std::string TempSubpath;

namespace {

constexpr const char* kTempName = "Temp";

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool EnterFolder(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}

// A name that stays inside the current directory.
bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string TempFolderPath() {
    return ExeFolder() + TempSubpath;
}

bool IsRealFolder(const char* path) {
    struct stat info {};
    return lstat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates the file anew, so that whatever stood under its name (a file, or a link that
// must not be written through) is replaced rather than written into.
void WriteNewFile(const std::string& name, std::span<const std::uint8_t> bytes) {
    struct stat info {};
    if (lstat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) unlink(name.c_str());
    base::UniqueFd file(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.fd < 0)
        throw base::IoFailure(errno == ENOSPC || errno == EDQUOT ? "Disk full"
                                                                  : "File access denied");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(file.fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) throw base::IoFailure("Disk full");
        done += static_cast<std::size_t>(put);
    }
    if (close(file.Release()) != 0) throw base::IoFailure("Disk full");
}

} // namespace

std::string ExeFolder() {
    if (ExeFileName.empty()) return {};
    const auto slash = ExeFileName.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return ExeFileName.substr(0, slash);
}

void GoExeFolder() {
    EnterFolder(ExeFolder());
}

void GoExeSubfolder(const std::string& subpath) {
    EnterFolder(ExeFolder() + subpath);
}

void GoTempFolder() {
    const std::string path = TempFolderPath();
    // Opened without following a final link, then entered through the descriptor, so the
    // folder checked is the folder entered.
    base::UniqueFd folder(TempSubpath.empty()
                        ? -1
                        : open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.fd < 0 || fchdir(folder.fd) != 0)
        throw base::IoFailure("Cannot enter folder " + path);
}

void ExtractToTemp(const std::string& member, const std::string& archiveName) {
    if (!IsBareName(member)) throw base::IoFailure("File access denied");
    GoExeFolder();
    base::MemoryBlock block;
    const std::int32_t size = ReadFromBigfile(member, archiveName, block);
    GoTempFolder();
    WriteNewFile(member, block.Bytes().first(static_cast<std::size_t>(size)));
    base::FreeBlock(block);
}

void DeleteFromTemp(const std::string& fileName) {
    GoTempFolder();
    if (IsBareName(fileName)) unlink(fileName.c_str());
}

void ClearTempFolder() {
    struct stat info {};
    if (lstat(kTempName, &info) != 0) return;
    if (S_ISLNK(info.st_mode)) {
        unlink(kTempName);
        return;
    }
    if (!S_ISDIR(info.st_mode)) return;

    const int fd = open(kTempName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
        if (!dir) {
            close(fd);
        } else {
            std::vector<std::string> names;
            while (const dirent* entry = readdir(dir.get()))
                names.emplace_back(entry->d_name);
            // Relative to the opened folder, so a swapped-in link can't redirect a deletion.
            for (const auto& name : names) {
                struct stat entryInfo {};
                if (fstatat(fd, name.c_str(), &entryInfo, AT_SYMLINK_NOFOLLOW) == 0 &&
                    !S_ISDIR(entryInfo.st_mode))
                    unlinkat(fd, name.c_str(), 0);
            }
        }
    }
    rmdir(kTempName);
}

void SetUpWorkspace() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw base::IoFailure("Cannot find the program's own folder");
    SetUpWorkspace(self.string());
}

void SetUpWorkspace(const std::string& exeFileName) {
    ExeFileName = exeFileName;
    TempSubpath.clear();
    // Clearing works below the current directory: it must never run anywhere else.
    if (!EnterFolder(ExeFolder())) throw base::IoFailure("Cannot enter folder " + ExeFolder());
    ClearTempFolder();
    TempSubpath = "/Temp";
    mkdir(kTempName, 0777);
    if (!IsRealFolder(kTempName))
        throw base::IoFailure("Cannot create folder " + TempFolderPath());
    GoTempFolder();
    GoExeFolder();
}

void TearDownWorkspace() {
    if (EnterFolder(ExeFolder())) ClearTempFolder();
}

} // namespace archive
