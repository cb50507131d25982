// The main window's size, the keys and the samples asked for, as the layers above set them in
// platform::state (platform/state.h).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/state.h"

namespace platform {

// Adds a key press to state.KeyPresses, unless it already holds as many as a frame can use.
void RecordKeyPress(KeyPress press);
// The key presses since the last call, oldest first.
std::vector<KeyPress> TakeKeyPresses();
// A key went down or up; a code beyond state.Keys is ignored.
void SetKey(std::uint32_t key, bool down);

// The main window's size, from the layer above.
void SetScreenSize(std::uint16_t width, std::uint16_t height);
// What the command line asked of the main window: samples per pixel, or kSamplesByRenderer.
void RequestSamples(int samples);

} // namespace platform
