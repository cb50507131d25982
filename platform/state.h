// The platform layer's run-time state: the main window's size, the keys and the key presses
// that the layers above read, the samples asked for, and the message queue. Only this layer
// writes it; a layer above goes through its functions (window_state.h, message_queue.h).
// ResetPlatformState gives all of it its start values.
//
// Outside it: the window procedure (a hook, installed once), the signal bookkeeping of
// ending.cpp, and the SDL implementation's windows, context, cursors and its account of SDL's
// events (platform_sdl.cpp): they belong to the one SDL session, which nothing resets; the
// windows go with DestroyWindows.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/message.h"

namespace platform {

// The window size on a display too small for the game, and the size before any window exists.
inline constexpr std::uint16_t kFallbackWidth = 640;
inline constexpr std::uint16_t kFallbackHeight = 480;

// Samples per pixel left to the renderer: four on graphics hardware, none on a software
// renderer, where every sample costs as much as a pixel.
inline constexpr int kSamplesByRenderer = -1;

struct KeyPress {
    std::uint32_t key = 0; // virtual-key code
    bool repeat = false;   // repeated by the system while the key is held
    bool ctrl = false;     // with Ctrl held
    bool shift = false;    // with Shift held
};

struct State {
    // Main window width and height: the display's, or 640 x 480 when it is too small.
    std::uint16_t ScreenWidth = kFallbackWidth;
    std::uint16_t ScreenHeight = kFallbackHeight;
    std::array<std::int32_t, 256> Keys{}; // by virtual-key code: -1 down, 0 up
    // Key presses in arrival order, not yet taken by the frame update; the oldest are kept when
    // frames stop coming.
    std::vector<KeyPress> KeyPresses;
    int RequestedSamples = kSamplesByRenderer; // samples per pixel the main window asks for; 0 none
    std::deque<Message> Queue;                 // waiting messages, oldest first
    bool CloseForQuit = false; // the close message for base::QuitRequested has been posted
};
extern State state;

// Start values of every member: no window yet, no key down or pressed, no message waiting.
void ResetPlatformState();

} // namespace platform
