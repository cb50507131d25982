// How the real platform learns that the program must end: the signals it handles (SIGTERM,
// SIGINT, SIGHUP; WatchSignals in platform.h) and a lost connection to the X display.
#pragma once

#include <atomic>

namespace platform {

// A message box of the platform's is waiting for its OK.
extern std::atomic<bool> BoxShowing;

// From now on a lost X display removes the workspace and ends the program with exit code 1
// and a line on stderr, instead of Xlib's exit (whose static destructors would call the dead
// connection again). Nothing when SDL works without X.
void EndOnLostDisplay();

} // namespace platform
