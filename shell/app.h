// The program's spine: start-up, the splash, the main window, the message loop,
// the engine's error box and the shutdown order.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "shell/state.h"

namespace shell {

// The window size for a display: the display's own, or 640 x 480 when either side is too small.
platform::Size WindowSizeForDisplay(platform::Size display);

// What one frame does; the game's update and drawing unless a test puts its own in.
struct FrameHooks {
    void (*update)();
    void (*draw)();
};
extern FrameHooks Frame; // called by every idle pass of the loop while the window shows

// One pass of the message loop; false once the quit message has been taken.
bool LoopPass();

// Splash, window, set-up and the loop; the exit code: 0 when the loop ended on quit after a
// set-up that worked, 1 after a set-up failure (its "Error" box shown).
int RunMainWindow();

// Connects the lower layers to the program: the engine report's box and store reset, the
// window procedure that messages sent from the frame update reach, and the cleanups of every
// way out.
void InstallHooks();

// The whole program: module start-up, RunMainWindow, the cleanups, and the exit code: 0 after a
// close or a signal, 1 after a failure.
int RunProgram();

} // namespace shell
