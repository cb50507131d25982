// How the real platform learns that the program must end: the signals it handles (SIGTERM,
// SIGINT, SIGHUP; WatchSignals in platform.h) and a lost connection to the X display.
#pragma once

#include <atomic>

namespace platform {

// A message box of the platform's is waiting for its OK.
extern std::atomic<bool> BoxShowing;

// From now on a lost X display removes the workspace and ends the program with exit code 1
// and a line on stderr, instead of Xlib's exit (whose static destructors would call the dead
// connection again). Called before SDL_Init, so that SDL's Xlib is the one loaded here and the
// display lost while SDL starts ends the same way. Nothing where there is no Xlib.
void EndOnLostDisplay();

// Notes the connection of SDL's X display, once SDL has opened it. From then on a crash
// (SIGSEGV, SIGBUS) that finds that connection hung up is the display lost inside a library
// (Mesa's GLX set-up dereferences the replies a dead server never sent) and ends as above;
// any other crash stays a crash. Nothing when SDL works without X.
void NoteDisplay();

} // namespace platform
