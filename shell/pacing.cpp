#include "shell/pacing.h"

#include <cmath>

namespace shell {

bool FrameStarted = false;
std::uint32_t LastFrameStart = 0;

int MsUntilFrameDue(std::uint32_t now, int refreshRate) {
    if (!FrameStarted) return 0;
    const double period = 1000.0 / (refreshRate > 0 ? refreshRate : kDefaultRefreshRate);
    // Unsigned difference: right across the wrap of the tick count.
    const std::uint32_t elapsed = now - LastFrameStart;
    if (elapsed >= period) return 0;
    return static_cast<int>(std::ceil(period - elapsed));
}

void NoteFrameStart(std::uint32_t now) {
    FrameStarted = true;
    LastFrameStart = now;
}

} // namespace shell
