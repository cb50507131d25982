// Every way out of the program runs the same cleanups: they are registered once, at start-up,
// and run by a normal close, a failed load, an exception, a signal and a lost display alike.
#pragma once

#include <atomic>
#include <string_view>

namespace base {

using Cleanup = void (*)();

// A signal asked the game to end; set from any thread, never cleared while the program runs.
extern std::atomic<bool> QuitRequested;

// Whether a cleanup also runs when the program must end at once, with the display gone: only one
// that touches nothing but files may.
enum class OnError { Skip, Run };

// How the program ends: normally, or after an error, when only the cleanups marked to run on
// error run.
enum class Ending { Normal, AfterError };

// Adds a cleanup; a cleanup already registered is not added again. Cleanups run newest first
// and must be harmless when run again.
void AtExit(Cleanup cleanup, OnError onError);

// Runs the registered cleanups for this way of ending, newest first. One run at a time:
// another thread waits for the running one.
void RunExitCleanups(Ending ending);

// Sets QuitRequested; from any thread, and safe in a signal handler.
void RequestQuit();

// Throws QuitRequest (base/failure.h) once a signal has asked the game to end.
void StopIfQuitRequested();

// Runs the cleanups marked for errors, writes `line` to stderr and ends the process with
// `code` at once, without running destructors or anything registered with atexit. In a child
// process made by fork it only ends, silently: the cleanups and the line are the parent's.
[[noreturn]] void EndNow(int code, std::string_view line);

} // namespace base
