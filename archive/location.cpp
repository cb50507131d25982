#include "archive/location.h"

#include <sys/stat.h>

#include <filesystem>

#include "archive/state.h"

namespace archive {

namespace {

// The installed data folder as seen from the installed program's folder; set by the build from
// the install layout, so that a moved prefix or an unpacked package still finds its data.
constexpr const char* kDataFromProgram = KX_DATA_FROM_BIN;

} // namespace

std::string ExeFolder() {
    if (state.ExeFileName.empty()) return {};
    const auto slash = state.ExeFileName.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return state.ExeFileName.substr(0, slash);
}

std::string BesideProgram(const std::string& name) {
    const std::string folder = ExeFolder();
    if (folder.empty() || name.empty() || name.front() == '/') return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool ArchiveBesideProgram(const std::string& exeFolder) {
    struct stat info {};
    const std::string path = (exeFolder == "/" ? "/" : exeFolder + "/") + kArchiveName;
    return lstat(path.c_str(), &info) == 0;
}

std::string FindArchive(const std::string& exeFolder) {
    if (ArchiveBesideProgram(exeFolder)) return kArchiveName;
    struct stat info {};
    // The program's folder comes from the system with every link resolved, so ".." in the
    // relative path is its real parent.
    const auto installed =
        (std::filesystem::path(exeFolder) / kDataFromProgram / "koravex" / kArchiveName)
            .lexically_normal();
    if (stat(installed.c_str(), &info) == 0) return installed.string();
    return kArchiveName;
}

void LocateProgram(const std::string& exeFileName) {
    state.ExeFileName = exeFileName;
    state.ArchiveName = FindArchive(ExeFolder());
}

} // namespace archive
