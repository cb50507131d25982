// What the window procedure keeps for the frame update: the main window's size and the keys.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The window size on a display too small for the game, and the size before any window exists.
inline constexpr std::uint16_t kFallbackWidth = 640;
inline constexpr std::uint16_t kFallbackHeight = 480;

extern std::uint16_t ScreenWidth;  // main window width: the display's, or 640 when too small
extern std::uint16_t ScreenHeight; // main window height: the display's, or 480 when too small
extern std::array<std::int32_t, 256> Keys; // by virtual-key code: -1 down, 0 up

// Samples per pixel left to the renderer: four on graphics hardware, none on a software
// renderer, where every sample costs as much as a pixel.
inline constexpr int kSamplesByRenderer = -1;
extern int RequestedSamples; // samples per pixel the main window asks for; 0 none

} // namespace platform
