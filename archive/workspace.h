// The Temp workspace beside the program and the current directory. Loaders that
// need a file on disk read archive members extracted here under their bare names.
#pragma once

#include <string>

namespace archive {

extern std::string ExeFileName; // full path of the running program
extern std::string TempSubpath; // "/Temp", appended to the program's folder

void GoExeFolder();
void GoExeSubfolder(const std::string& subpath);
void GoTempFolder();
void ExtractToTemp(const std::string& member, const std::string& archiveName);
void DeleteFromTemp(const std::string& fileName);
void ClearTempFolder();

// Start-up: program path, leftover Temp cleared, a fresh Temp created.
void SetUpWorkspace();
// Window close: the program's folder made current and Temp removed.
void TearDownWorkspace();

} // namespace archive
