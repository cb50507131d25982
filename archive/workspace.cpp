#include "archive/workspace.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "archive/bigfile.h"
#include "base/failure.h"
#include "base/memory_block.h"

namespace archive {

std::string ExeFileName;
std::string ArchiveName = kArchiveName;
Workspace TempWorkspace;

namespace {

// The installed data folder as seen from the installed program's folder; set by the build from
// the install layout, so that a moved prefix or an unpacked package still finds its data.
constexpr const char* kDataFromProgram = KX_DATA_FROM_BIN;
constexpr const char* kTempName = "Temp";
constexpr const char* kPrivateRootName = "koravex";
// Tries at a folder that a game ending at the same moment may just have removed.
constexpr int kRaceRetries = 3;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool EnterFolder(const std::string& path) {
    return !path.empty() && chdir(path.c_str()) == 0;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// A name that stays inside the current directory.
bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

// A folder we may keep files in: a real folder of this user that nobody else can write to.
bool IsPrivateFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder open as `fd` still stands at `path`: neither removed nor replaced.
bool StillStands(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return fstat(fd, &open) == 0 && open.st_nlink > 0 && lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Deletes every entry but subfolders of the open folder. Relative to the descriptor, so a link
// swapped in for the folder can't redirect a deletion; links inside go as links.
void DeletePlainFiles(int folder) {
    const int listing = dup(folder);
    if (listing < 0) return;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(listing));
    if (!dir) {
        close(listing);
        return;
    }
    rewinddir(dir.get());
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get()))
        names.emplace_back(entry->d_name);
    for (const auto& name : names) {
        struct stat info {};
        if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISDIR(info.st_mode))
            unlinkat(folder, name.c_str(), 0);
    }
}

// Creates the file anew in the open folder, so that whatever stood under its name (a file, or
// a link that must not be written through) is replaced rather than written into.
void WriteNewFile(int folder, const std::string& name, std::span<const std::uint8_t> bytes) {
    const std::string path = TempFilePath(name);
    struct stat info {};
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode))
        unlinkat(folder, name.c_str(), 0);
    base::UniqueFd file(
        openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.fd < 0)
        throw base::IoFailure(
            (errno == ENOSPC || errno == EDQUOT ? "Disk full: " : "File access denied: ") + path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(file.fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) throw base::IoFailure("Disk full: " + path);
        done += static_cast<std::size_t>(put);
    }
    if (close(file.Release()) != 0) throw base::IoFailure("Disk full: " + path);
}

// Temp beside the program, when the program's folder is ours to write in, Temp there is ours
// or can be made, and no other running game holds it. Emptied of what an earlier run left.
bool TakeTempBesideProgram(const std::string& exeFolder) {
    if (faccessat(AT_FDCWD, exeFolder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return false;
    const std::string path = JoinPath(exeFolder, kTempName);
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
        // A link, a file, or a folder closed to us fails here and is left as it is.
        base::UniqueFd folder(
            open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (folder.fd < 0) return false;
        struct stat info {};
        if (fstat(folder.fd, &info) != 0 || !IsPrivateFolder(info)) return false;
        if (flock(folder.fd, LOCK_EX | LOCK_NB) != 0) return false;
        // A game that ended just now may have removed the folder we opened: look again.
        if (!StillStands(folder.fd, path)) continue;
        DeletePlainFiles(folder.fd);
        TempWorkspace.folder = std::move(folder);
        TempWorkspace.path = path;
        return true;
    }
    return false;
}

// The user's cache folder: $XDG_CACHE_HOME, else ~/.cache.
std::optional<std::string> CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache);
    std::string home;
    if (const char* fromEnv = std::getenv("HOME"); fromEnv != nullptr && fromEnv[0] == '/')
        home = fromEnv;
    else if (const passwd* entry = getpwuid(geteuid());
             entry != nullptr && entry->pw_dir != nullptr)
        home = entry->pw_dir;
    if (home.empty() || home[0] != '/') return std::nullopt;
    return JoinPath(home, ".cache");
}

// A fresh folder of this process in `<parent>/koravex`; on failure, the message naming the path.
// Whatever it made for a workspace it could not have, it removes again.
std::optional<std::string> TakePrivateWorkspaceIn(const std::string& parent, bool makeParent) {
    bool madeParent = false;
    if (makeParent) {
        if (mkdir(parent.c_str(), 0700) == 0)
            madeParent = true;
        else if (errno != EEXIST)
            return "Cannot create folder " + parent;
    }
    const std::string root = JoinPath(parent, kPrivateRootName);
    std::string failure = "Cannot create folder " + root;
    bool madeRoot = false;
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        if (mkdir(root.c_str(), 0700) == 0)
            madeRoot = true;
        else if (errno != EEXIST)
            break;
        struct stat info {};
        if (lstat(root.c_str(), &info) != 0) continue;
        if (!IsPrivateFolder(info)) {
            failure = "Folder " + root + " is not private to this user";
            break;
        }
        std::string path = JoinPath(root, "Temp-XXXXXX");
        // A game ending just now may have removed the empty koravex folder: make it again.
        if (mkdtemp(path.data()) == nullptr) {
            if (errno == ENOENT) continue;
            break;
        }
        base::UniqueFd folder(
            open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat made {};
        if (folder.fd < 0 || fstat(folder.fd, &made) != 0 || !IsPrivateFolder(made)) {
            rmdir(path.c_str());
            failure = "Cannot enter folder " + path;
            break;
        }
        TempWorkspace.folder = std::move(folder);
        TempWorkspace.path = path;
        TempWorkspace.root = root;
        if (madeParent) TempWorkspace.madeCache = parent;
        return std::nullopt;
    }
    if (madeRoot) rmdir(root.c_str());
    if (madeParent) rmdir(parent.c_str());
    return failure;
}

// A private workspace under $XDG_RUNTIME_DIR, or the cache folder when that is unset or unusable.
void TakePrivateWorkspace() {
    std::optional<std::string> failure;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        failure = TakePrivateWorkspaceIn(runtime, false);
        if (!failure) return;
    }
    const auto cache = CacheFolder();
    if (!cache) throw base::IoFailure(failure ? *failure : "Cannot find the user's cache folder");
    const auto cacheFailure = TakePrivateWorkspaceIn(*cache, true);
    if (cacheFailure)
        throw base::IoFailure(failure ? *failure + "; " + *cacheFailure : *cacheFailure);
}

} // namespace

std::string ExeFolder() {
    if (ExeFileName.empty()) return {};
    const auto slash = ExeFileName.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return ExeFileName.substr(0, slash);
}

std::string FindArchive(const std::string& exeFolder) {
    struct stat info {};
    if (lstat(JoinPath(exeFolder, kArchiveName).c_str(), &info) == 0) return kArchiveName;
    // The program's folder comes from the system with every link resolved, so ".." in the
    // relative path is its real parent.
    const auto installed =
        (std::filesystem::path(exeFolder) / kDataFromProgram / "koravex" / kArchiveName)
            .lexically_normal();
    if (stat(installed.c_str(), &info) == 0) return installed.string();
    return kArchiveName;
}

std::string TempFilePath(const std::string& name) {
    return JoinPath(TempWorkspace.path.empty() ? kTempName : TempWorkspace.path, name);
}

void GoExeFolder() {
    EnterFolder(ExeFolder());
}

void GoTempFolder() {
    const Workspace& temp = TempWorkspace;
    if (temp.folder.fd < 0 || !StillStands(temp.folder.fd, temp.path) ||
        fchdir(temp.folder.fd) != 0)
        throw base::IoFailure("Cannot enter folder " + (temp.path.empty() ? kTempName : temp.path));
}

base::MemoryBlock ExtractToTemp(const std::string& member, const std::string& archiveName) {
    if (!IsBareName(member))
        throw base::IoFailure("File access denied: " + base::PrintableText(member));
    GoExeFolder();
    base::MemoryBlock block;
    const std::int32_t size = ReadFromBigfile(member, archiveName, block);
    GoTempFolder();
    WriteNewFile(TempWorkspace.folder.fd, member,
                 block.Bytes().first(static_cast<std::size_t>(size)));
    return block;
}

void DeleteFromTemp(const std::string& fileName) {
    GoTempFolder();
    if (IsBareName(fileName)) unlinkat(TempWorkspace.folder.fd, fileName.c_str(), 0);
}

void ClearTempFolder() {
    Workspace& temp = TempWorkspace;
    if (temp.folder.fd >= 0) {
        DeletePlainFiles(temp.folder.fd);
        if (StillStands(temp.folder.fd, temp.path)) rmdir(temp.path.c_str());
        // Only empty folders go: another running game's workspace keeps the koravex folder.
        if (!temp.root.empty()) rmdir(temp.root.c_str());
        if (!temp.madeCache.empty()) rmdir(temp.madeCache.c_str());
    }
    // Closing the folder also lets another game have the Temp beside the program.
    temp = Workspace{};
}

void SetUpWorkspace() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw base::IoFailure("Cannot read the program's path from /proc/self/exe");
    SetUpWorkspace(self.string());
}

void SetUpWorkspace(const std::string& exeFileName) {
    ClearTempFolder();
    ExeFileName = exeFileName;
    ArchiveName = FindArchive(ExeFolder());
    if (!EnterFolder(ExeFolder())) throw base::IoFailure("Cannot enter folder " + ExeFolder());
    if (!TakeTempBesideProgram(ExeFolder())) TakePrivateWorkspace();
    GoTempFolder();
    GoExeFolder();
}

void TearDownWorkspace() {
    GoExeFolder();
    ClearTempFolder();
}

} // namespace archive
