// Controls of the platform layer's test double: a settable clock, cursor and
// buttons, recorded message boxes, injected set-up failures and a hidden real
// GL context to draw into.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::testing {

struct Box {
    std::string caption;
    std::string text;
};

struct DoubleState {
    bool initOk = true;
    Size desktop{1920, 1080};
    bool createWindowOk = true;
    ContextResult contextResult = ContextResult::Ok; // what the next context set-up gives
    std::uint32_t tick = 0;
    int cursorX = 0;
    int cursorY = 0;
    bool left = false;
    bool right = false;
    // Polls of a held left button before it is let go by itself; -1 = never.
    int releaseLeftAfterPolls = -1;
    // A left click that came and went since the last poll, not yet seen by the game.
    bool leftClickUnseen = false;
    Cursor cursor = Cursor::Arrow;
    std::vector<Box> boxes;
    int splashShown = 0;
    int splashHidden = 0;
    int windowShown = 0;
    int windowsDestroyed = 0;
    bool visible = true; // the main window is on screen
    int waits = 0;       // calls of WaitForEvents
    int waitedMs = 0;    // the timeouts of those calls, added up
    // Input came in since the last swap; the next swap clears it.
    bool input = true;
    int refreshRate = 60; // what the display reports; 0 = nothing
    int swaps = 0;
    int sleeps = 0;
    // Runs on every PumpEvents, for tests that feed messages as the loop goes.
    std::function<void()> onPump;
    // Runs on every WaitForEvents, for tests that feed events while the loop waits. Without
    // it no event comes and the clock runs on by the whole timeout.
    std::function<void()> onWait;
};

DoubleState& Double();
// Forgets all recorded calls and releases the window and context.
void ResetDouble();
// A hidden window with a current GL context of the given size, for drawing tests.
bool OpenHiddenGlWindow(int width, int height);

} // namespace platform::testing
