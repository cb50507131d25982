// The archive layer's run-time state: where the program and its archive are, this run's Temp
// workspace, and the archive directory kept while a KeepDirectories lives. Only this layer
// writes it: LocateProgram, SetUpWorkspace and TearDownWorkspace (archive/workspace.h) and the
// archive's readers (archive/bigfile.h). It has no reset of its own: the workspace holds its
// folder open and locked, and only TearDownWorkspace, having removed the files, lets it go.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

#include "archive/bigfile_directory.h"
#include "base/unique_fd.h"

namespace archive {

// This run's Temp folder, held open so that the folder used is always the folder set up.
struct Workspace {
    base::UniqueFd folder; // open and locked for the whole run
    std::string path;      // its full path
    std::string root;      // a private workspace's koravex folder, removed once empty if marked
    std::string madeCache; // the user's cache folder when this run had to create it
};

// A directory as read, and the file it was read from.
struct KeptDirectory {
    std::string archiveName;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    BigfileDirectory directory;
};

// The archive's file name, beside the program or in the installed data folder.
inline constexpr const char* kArchiveName = "adatok.vbf";

struct State {
    std::string ExeFileName;                // full path of the running program
    std::string ArchiveName = kArchiveName; // as the readers open it from the program's folder
    Workspace TempWorkspace;                // empty before set-up and after teardown
    unsigned KeepDepth = 0;                 // KeepDirectories alive now
    std::optional<KeptDirectory> Kept;      // the last directory read while one lives
};
extern State state;

} // namespace archive
