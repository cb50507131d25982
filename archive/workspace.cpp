#include "archive/workspace.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
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

namespace {

constexpr const char* kTempName = "Temp";
constexpr const char* kPrivateRootName = "koravex";
constexpr std::string_view kPrivatePrefix = "Temp-";
constexpr const char* kMarkerName = kTempMarkerName;
constexpr std::string_view kMarkerText =
    "Koravex made this folder for its scratch files, and removes it when the game ends.\n";
// Tries at a folder that a game ending or starting at the same moment may just have removed.
constexpr int kRaceRetries = 5;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// A folder we can open names in; the current directory is never changed, so this is all a
// program's folder must allow.
bool CanEnter(const std::string& path) {
    return !path.empty() && faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// A path as messages quote it.
std::string Quoted(const std::string& path) {
    return base::PrintablePath(path);
}

// A name that stays inside the folder it is looked up in.
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

// The names in the open folder, "." and ".." aside.
std::vector<std::string> FolderNames(int folder) {
    std::vector<std::string> names;
    const int listing = dup(folder);
    if (listing < 0) return names;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(listing));
    if (!dir) {
        close(listing);
        return names;
    }
    rewinddir(dir.get());
    while (const dirent* entry = readdir(dir.get()))
        if (IsBareName(entry->d_name)) names.emplace_back(entry->d_name);
    return names;
}

// Deletes the plain files of the open folder, its marker aside, and tells whether nothing else
// is left in it. Relative to the descriptor, so a link swapped in for the folder can't redirect
// a deletion; links, subfolders and anything else stay as they are.
bool DeletePlainFiles(int folder) {
    bool onlyFilesWereThere = true;
    for (const auto& name : FolderNames(folder)) {
        if (name == kMarkerName) continue;
        struct stat info {};
        if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            unlinkat(folder, name.c_str(), 0);
        else
            onlyFilesWereThere = false;
    }
    return onlyFilesWereThere;
}

// Empties the open folder at `path` of its plain files and, when nothing else was in it,
// removes it with its marker.
void RemoveFolder(int folder, const std::string& path) {
    if (!DeletePlainFiles(folder) || !StillStands(folder, path)) return;
    unlinkat(folder, kMarkerName, 0);
    rmdir(path.c_str());
}

// The marker of a Temp the game made: a plain file of this user.
bool HasMarker(int folder) {
    struct stat info {};
    return fstatat(folder, kMarkerName, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
           info.st_uid == geteuid();
}

// Marks the open folder as the game's; a marker half written is taken away again.
bool WriteMarker(int folder) {
    base::UniqueFd file(
        openat(folder, kMarkerName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.fd < 0) return false;
    if (write(file.fd, kMarkerText.data(), kMarkerText.size()) ==
            static_cast<ssize_t>(kMarkerText.size()) &&
        close(file.Release()) == 0)
        return true;
    unlinkat(folder, kMarkerName, 0);
    return false;
}

// Opens a folder without following a link, when it is a private folder of this user.
base::UniqueFd OpenPrivateFolder(int at, const std::string& path) {
    base::UniqueFd folder(
        openat(at, path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (folder.fd < 0 || fstat(folder.fd, &info) != 0 || !IsPrivateFolder(info)) return {};
    return folder;
}

// Opens a folder without following a link, and takes its lock: the lock of a workspace is
// held by the game using it for as long as it runs.
base::UniqueFd OpenAndLock(int at, const std::string& path) {
    base::UniqueFd folder = OpenPrivateFolder(at, path);
    if (folder.fd < 0 || flock(folder.fd, LOCK_EX | LOCK_NB) != 0) return {};
    return folder;
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

// Temp beside the program, when the program's folder is ours to write in, and Temp there can
// be made or was made by the game (its marker), is ours, and no other running game holds it.
// Emptied of the plain files an earlier run left.
bool TakeTempBesideProgram(const std::string& exeFolder) {
    if (faccessat(AT_FDCWD, exeFolder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return false;
    const std::string path = JoinPath(exeFolder, kTempName);
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        const bool made = mkdir(path.c_str(), 0700) == 0;
        if (!made && errno != EEXIST) return false;
        // A link, a file, a folder closed to us or one another game holds fails here and is
        // left as it is.
        base::UniqueFd folder = OpenAndLock(AT_FDCWD, path);
        if (folder.fd < 0) return false;
        // A game that ended just now may have removed the folder we opened: look again.
        if (!StillStands(folder.fd, path)) continue;
        if (made && !WriteMarker(folder.fd)) {
            RemoveFolder(folder.fd, path);
            return false;
        }
        // A Temp the game did not make is the user's: never emptied, never removed.
        if (!HasMarker(folder.fd)) return false;
        DeletePlainFiles(folder.fd);
        state.TempWorkspace.folder = std::move(folder);
        state.TempWorkspace.path = path;
        return true;
    }
    return false;
}

// Removes a koravex folder the game made (its marker) once nothing but the marker is in it. A
// game may make its workspace there between the marker going and the folder: then the folder
// stays and gets its marker back, so that it is still known for the game's.
void RemoveRootIfUnused(const std::string& root) {
    const base::UniqueFd folder = OpenPrivateFolder(AT_FDCWD, root);
    if (folder.fd < 0 || !HasMarker(folder.fd)) return;
    const auto names = FolderNames(folder.fd);
    if (names.size() != 1 || !StillStands(folder.fd, root)) return;
    if (unlinkat(folder.fd, kMarkerName, 0) != 0) return;
    if (rmdir(root.c_str()) != 0) WriteMarker(folder.fd);
}

// Private workspaces whose game has ended without removing them (a kill, a crash): the game's
// (their marker) and their lock free. Only such folders of this user in a koravex folder of
// this user's, and only their plain files, are removed; the koravex folder goes too when the
// game made it and nothing else is left in it.
void RemoveStaleWorkspaces(const std::string& root) {
    const base::UniqueFd rootFolder = OpenPrivateFolder(AT_FDCWD, root);
    if (rootFolder.fd < 0) return;
    for (const auto& name : FolderNames(rootFolder.fd)) {
        if (!name.starts_with(kPrivatePrefix)) continue;
        // Every game holds its workspace's lock before it marks it, so a marked folder whose
        // lock is free belongs to no running game.
        const base::UniqueFd stale = OpenAndLock(rootFolder.fd, name);
        if (stale.fd >= 0 && HasMarker(stale.fd)) RemoveFolder(stale.fd, JoinPath(root, name));
    }
    RemoveRootIfUnused(root);
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

// A fresh folder of this process in `<parent>/koravex`, locked; on failure, the message naming
// the path. Whatever it made for a workspace it could not have, it removes again.
std::optional<std::string> TakePrivateWorkspaceIn(const std::string& parent, bool makeParent) {
    bool madeParent = false;
    if (makeParent) {
        if (mkdir(parent.c_str(), 0700) == 0)
            madeParent = true;
        else if (errno != EEXIST)
            return "Cannot create folder " + Quoted(parent);
    }
    const std::string root = JoinPath(parent, kPrivateRootName);
    std::string failure = "Cannot create folder " + Quoted(root);
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        if (mkdir(root.c_str(), 0700) == 0) {
            // Marked before anything is made in it; a koravex folder without the marker is the
            // user's and never removed.
            const base::UniqueFd made = OpenPrivateFolder(AT_FDCWD, root);
            if (made.fd < 0 || !WriteMarker(made.fd)) {
                rmdir(root.c_str());
                break;
            }
        } else if (errno != EEXIST) {
            break;
        }
        struct stat info {};
        if (lstat(root.c_str(), &info) != 0) continue;
        if (!IsPrivateFolder(info)) {
            failure = "Folder " + Quoted(root) + " is not private to this user";
            break;
        }
        std::string path = JoinPath(root, std::string(kPrivatePrefix) + "XXXXXX");
        // A game ending just now may have removed the empty koravex folder: make it again.
        if (mkdtemp(path.data()) == nullptr) {
            if (errno == ENOENT) continue;
            break;
        }
        // A game starting now may hold the new folder's lock for a moment while it looks for
        // the marker: then another is made. Locked first, marked after, so that a marked folder
        // with a free lock is always a killed game's.
        base::UniqueFd folder = OpenAndLock(AT_FDCWD, path);
        if (folder.fd < 0 || !StillStands(folder.fd, path)) {
            rmdir(path.c_str());
            failure = "Cannot enter folder " + Quoted(path);
            continue;
        }
        if (!WriteMarker(folder.fd)) {
            RemoveFolder(folder.fd, path);
            failure = "Cannot create folder " + Quoted(path);
            break;
        }
        state.TempWorkspace.folder = std::move(folder);
        state.TempWorkspace.path = path;
        state.TempWorkspace.root = root;
        if (madeParent) state.TempWorkspace.madeCache = parent;
        return std::nullopt;
    }
    RemoveRootIfUnused(root);
    if (madeParent) rmdir(parent.c_str());
    return failure;
}

// The koravex folders private workspaces are made in: under $XDG_RUNTIME_DIR and the cache
// folder.
std::vector<std::string> PrivateRoots() {
    std::vector<std::string> roots;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        roots.push_back(JoinPath(runtime, kPrivateRootName));
    if (const auto cache = CacheFolder()) roots.push_back(JoinPath(*cache, kPrivateRootName));
    return roots;
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

// In a process forked from the game (SDL shows some boxes from a child of its own): the lock
// belongs to the open folder, shared with the game, so a child keeping its copy would keep
// Temp locked after the game ended. Closing that copy leaves the game's lock as it is.
void ForgetWorkspaceInChild() {
    const int folder = state.TempWorkspace.folder.Release();
    if (folder >= 0) close(folder);
}

} // namespace

std::string TempFilePath(const std::string& name) {
    return Quoted(
        JoinPath(state.TempWorkspace.path.empty() ? kTempName : state.TempWorkspace.path, name));
}

void CheckTempStands() {
    const Workspace& temp = state.TempWorkspace;
    if (temp.folder.fd < 0 || !StillStands(temp.folder.fd, temp.path))
        throw base::IoFailure("Cannot enter folder " +
                              (temp.path.empty() ? kTempName : Quoted(temp.path)));
}

base::MemoryBlock ExtractToTemp(const std::string& member, const std::string& archiveName,
                                std::int32_t maxSize) {
    if (!IsBareName(member))
        throw base::IoFailure("File access denied: " + base::PrintableText(member));
    base::MemoryBlock block;
    const std::int32_t size = ReadFromBigfile(member, archiveName, block, maxSize);
    CheckTempStands();
    WriteNewFile(state.TempWorkspace.folder.fd, member,
                 block.Bytes().first(static_cast<std::size_t>(size)));
    return block;
}

void DeleteFromTemp(const std::string& fileName) {
    CheckTempStands();
    if (IsBareName(fileName)) unlinkat(state.TempWorkspace.folder.fd, fileName.c_str(), 0);
}

void ClearTempFolder() {
    Workspace& temp = state.TempWorkspace;
    if (temp.folder.fd >= 0) {
        RemoveFolder(temp.folder.fd, temp.path);
        // Another running game's workspace keeps the koravex folder, and the user's stays.
        if (!temp.root.empty()) RemoveRootIfUnused(temp.root);
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
    static const bool forgetsInChild =
        pthread_atfork(nullptr, nullptr, ForgetWorkspaceInChild) == 0;
    static_cast<void>(forgetsInChild);
    ClearTempFolder();
    LocateProgram(exeFileName);
    if (!CanEnter(ExeFolder())) throw base::IoFailure("Cannot enter folder " + Quoted(ExeFolder()));
    for (const auto& root : PrivateRoots())
        RemoveStaleWorkspaces(root);
    // Only a game unpacked with its archive beside it keeps Temp there; an installed one never
    // writes beside its program.
    if (!ArchiveBesideProgram(ExeFolder()) || !TakeTempBesideProgram(ExeFolder()))
        TakePrivateWorkspace();
    CheckTempStands();
}

void TearDownWorkspace() {
    ClearTempFolder();
}

} // namespace archive
