#include "archive/workspace.h"

namespace archive {

std::string ExeFileName;
std::string TempSubpath;

void GoExeFolder() {}
void GoExeSubfolder(const std::string&) {}
void GoTempFolder() {}
void ExtractToTemp(const std::string&, const std::string&) {}
void DeleteFromTemp(const std::string&) {}
void ClearTempFolder() {}
void SetUpWorkspace() {}
void TearDownWorkspace() {}

} // namespace archive
