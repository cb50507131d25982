// The shell layer's run-time state: whether the main window exists and when the last frame
// began. One run per process, so the program needs no reset: it starts from these values. The
// frame hooks (shell::Frame, shell/app.h) are installed, not kept here.
#pragma once

#include <cstdint>

namespace shell {

struct State {
    bool MainWindow = false;          // the main window exists
    bool FrameStarted = false;        // a frame has been started since the loop began
    std::uint32_t LastFrameStart = 0; // tick count at the start of the last frame
};
extern State state;

} // namespace shell
