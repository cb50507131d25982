// The platform layer's state the layers above read: the main window's size and the keys. Only
// this layer writes it; ResetWindowState gives all of it its start values.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace platform {

// The window size on a display too small for the game, and the size before any window exists.
inline constexpr std::uint16_t kFallbackWidth = 640;
inline constexpr std::uint16_t kFallbackHeight = 480;

extern std::uint16_t ScreenWidth;  // main window width: the display's, or 640 when too small
extern std::uint16_t ScreenHeight; // main window height: the display's, or 480 when too small
extern std::array<std::int32_t, 256> Keys; // by virtual-key code: -1 down, 0 up

struct KeyPress {
    std::uint32_t key = 0; // virtual-key code
    bool repeat = false;   // repeated by the system while the key is held
    bool ctrl = false;     // with Ctrl held
    bool shift = false;    // with Shift held
};
// Key presses in arrival order, not yet taken by the frame update; the oldest are kept when
// frames stop coming.
extern std::vector<KeyPress> KeyPresses;

// Adds a key press to KeyPresses, unless it already holds as many as a frame can use.
void RecordKeyPress(KeyPress press);
// The key presses since the last call, oldest first.
std::vector<KeyPress> TakeKeyPresses();

// Samples per pixel left to the renderer: four on graphics hardware, none on a software
// renderer, where every sample costs as much as a pixel.
inline constexpr int kSamplesByRenderer = -1;
extern int RequestedSamples; // samples per pixel the main window asks for; 0 none

// The main window's size, from the layer above.
void SetScreenSize(std::uint16_t width, std::uint16_t height);
// What the command line asked of the main window: samples per pixel, or kSamplesByRenderer.
void RequestSamples(int samples);
// Start values of every variable above: no window yet, no key down or pressed.
void ResetWindowState();

} // namespace platform
