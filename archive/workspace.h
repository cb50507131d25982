// The Temp workspace, reached through its folder held open; nothing here changes the current
// directory. Each archive member the game loads is copied into Temp under its bare name.
//
// Temp is the folder "Temp" beside the program when the archive lies there too (a game unpacked
// into a folder of its own), the program's folder is writable, Temp there is absent or was made
// by the game (its marker file), is a real folder of this user that nobody else may write to,
// and no other running game uses it. Otherwise it is a private folder of this process, made
// afresh and marked under $XDG_RUNTIME_DIR/koravex, or under the user's cache folder when that
// variable is unset; a koravex folder the game makes is marked too. Each game holds its
// workspace's lock while it runs (a forked child holds none of it); at start-up the marked
// private folders whose lock is free are what killed games left, and go. Only plain files and
// the game's markers are ever deleted, and only folders that carry the marker are removed (and
// the user's cache folder when this run had to create it).
#pragma once

#include <string>

#include "archive/bigfile.h"
#include "archive/location.h"
#include "archive/state.h"
#include "base/memory_block.h"

namespace archive {

// The plain file the game writes into each folder it makes (Temp beside the program, a private
// workspace, a koravex folder above them): a folder without it is the user's, never touched.
inline constexpr const char* kTempMarkerName = ".koravex-workspace";

// The full path of a file in Temp, for messages.
std::string TempFilePath(const std::string& name);

// base::IoFailure naming Temp when it is gone or replaced since it was set up. Nothing here
// changes the current directory: Temp is reached through the folder held open.
void CheckTempStands();
// Copies an archive member into Temp under its name and hands back the bytes it wrote, so
// that a loader need not open the file again by name.
// A member larger than `maxSize` is damage, as ReadFromBigfile finds it.
base::MemoryBlock ExtractToTemp(const std::string& member, const std::string& archiveName,
                                std::int32_t maxSize = kNoSizeCap);
// Deletes a file (or a link, as a link) from Temp. Anything but a bare
// name is ignored, so nothing outside Temp is ever reached.
void DeleteFromTemp(const std::string& fileName);
// Deletes the plain files of this run's Temp, then the folder when nothing else was in it, and
// the koravex folder above a private one when the game made it and nothing else is left there.
// Touches nothing the run did not set up.
void ClearTempFolder();

// Start-up for the running program, whose path comes from the system.
void SetUpWorkspace();
// Start-up for a program at `exeFileName`: the archive found, stale private workspaces removed
// (and their koravex folders when the game made them and they are left empty), Temp chosen and
// emptied of what an earlier run left; base::IoFailure naming the folder when no workspace can be
// had.
void SetUpWorkspace(const std::string& exeFileName);
// Window close or a failed run: Temp removed. Reports
// nothing; harmless when run again.
void TearDownWorkspace();

} // namespace archive
