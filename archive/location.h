// Where the program and its archive are: the program's folder, and the archive beside it (the
// portable layout) or in the installed data folder relative to it.
#pragma once

#include <string>

#include "archive/state.h"

namespace archive {

// The program's folder: state.ExeFileName (archive/state.h) without its last component.
std::string ExeFolder();

// Where a file named relative to the program's folder is, whatever the current directory: a
// full path stays as it is, and so does every name before the program's path is known.
std::string BesideProgram(const std::string& name);

// Anything called "adatok.vbf" stands beside a program in `exeFolder`: the portable layout.
bool ArchiveBesideProgram(const std::string& exeFolder);

// Where the archive of a program in `exeFolder` is: "adatok.vbf" when anything of that name
// stands beside the program (a broken one is reported, not passed over), else the installed
// data folder's copy by its full path when there is one, else "adatok.vbf".
std::string FindArchive(const std::string& exeFolder);

// The program is at `exeFileName`: state.ExeFileName and state.ArchiveName follow.
void LocateProgram(const std::string& exeFileName);

} // namespace archive
