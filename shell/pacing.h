// Frames at most at the display's refresh rate. Where the swap waits for the display the
// deadline has passed by the time it returns; where it returns at once (software GL, Xvfb)
// the loop waits out the rest of the period on the event queue, so input is still taken.
#pragma once

#include <cstdint>

#include "shell/state.h"

namespace shell {

// The refresh rate paced to when the display reports none.
inline constexpr int kDefaultRefreshRate = 60;

// Milliseconds still to wait at tick `now` before the next frame, at `refreshRate` Hz (0 or
// less: the default); 0 when it is due.
int MsUntilFrameDue(std::uint32_t now, int refreshRate);
// A frame starts at tick `now`.
void NoteFrameStart(std::uint32_t now);

} // namespace shell
