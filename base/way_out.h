// Every way out of the program runs the same cleanups: they are registered once, at start-up,
// and run by a normal close, a failed load, an exception, a signal and a lost display alike.
#pragma once

#include <atomic>
#include <string_view>

namespace base {

using Cleanup = void (*)();

// A signal asked the game to end; set from any thread, never cleared while the program runs.
extern std::atomic<bool> QuitRequested;

// Adds a cleanup; a cleanup already registered is not added again. Cleanups run newest first
// and must be harmless when run again. `runOnError`: it touches nothing but files, so it may run
// when the program must end at once, with the display gone.
void AtExit(Cleanup cleanup, bool runOnError);

// Runs the registered cleanups, newest first; after an error only those marked for it. One run
// at a time: another thread waits for the running one.
void RunExitCleanups(bool afterError);

// Throws QuitRequest (base/failure.h) once a signal has asked the game to end.
void StopIfQuitRequested();

// Runs the cleanups marked for errors, writes `line` to stderr and ends the process with
// `code` at once, without running destructors or anything registered with atexit. In a child
// process made by fork it only ends, silently: the cleanups and the line are the parent's.
[[noreturn]] void EndNow(int code, std::string_view line);

} // namespace base
