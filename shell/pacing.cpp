#include "shell/pacing.h"

#include <cmath>

namespace shell {

int MsUntilFrameDue(std::uint32_t now, int refreshRate) {
    if (!state.FrameStarted) return 0;
    const double period = 1000.0 / (refreshRate > 0 ? refreshRate : kDefaultRefreshRate);
    // Unsigned difference: right across the wrap of the tick count.
    const std::uint32_t elapsed = now - state.LastFrameStart;
    if (elapsed >= period) return 0;
    return static_cast<int>(std::ceil(period - elapsed));
}

void NoteFrameStart(std::uint32_t now) {
    state.FrameStarted = true;
    state.LastFrameStart = now;
}

} // namespace shell
