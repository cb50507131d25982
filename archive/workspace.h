// The Temp workspace beside the program and the current directory. Loaders that
// need a file on disk read archive members extracted here under their bare names.
#pragma once

#include <string>

namespace archive {

extern std::string ExeFileName; // full path of the running program
extern std::string TempSubpath; // "/Temp", appended to the program's folder

// The program's folder: ExeFileName without its last component.
std::string ExeFolder();

void GoExeFolder();
void GoExeSubfolder(const std::string& subpath);
// Enters the Temp folder; base::IoFailure naming it when it is missing, a link, or closed to us.
void GoTempFolder();
// Copies an archive member into Temp under its name; leaves Temp current.
void ExtractToTemp(const std::string& member, const std::string& archiveName);
// Deletes a file (or a link, as a link) from Temp; leaves Temp current.
void DeleteFromTemp(const std::string& fileName);
// Deletes everything but subfolders in "Temp" below the current directory, then the folder.
// A "Temp" that is a link is removed as a link.
void ClearTempFolder();

// Start-up for the running program, whose path comes from the system.
void SetUpWorkspace();
// Start-up for a program at `exeFileName`: leftover Temp cleared, a fresh Temp created;
// base::IoFailure naming the folder when Temp can't be made or entered.
void SetUpWorkspace(const std::string& exeFileName);
// Window close: the program's folder made current and Temp removed. Reports nothing.
void TearDownWorkspace();

} // namespace archive
