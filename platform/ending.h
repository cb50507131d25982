// How the real platform learns that the program must end: the signals it handles (SIGTERM,
// SIGINT, SIGHUP) and a lost connection to the X display.
#pragma once

#include <atomic>

namespace platform {

// A message box of the platform's is waiting for its OK.
extern std::atomic<bool> BoxShowing;

// Blocks the handled signals in this thread and in every thread started after it, and starts
// the one thread that takes them: each sets base::QuitRequested and, while a box is up, ends
// the process that shows it. Call before any other thread exists; harmless when called again.
void WatchSignals();

// From now on a lost X display removes the workspace and ends the program with exit code 1
// and a line on stderr, instead of Xlib's exit (whose static destructors would call the dead
// connection again). Nothing when SDL works without X.
void EndOnLostDisplay();

} // namespace platform
