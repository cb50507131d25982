#include "platform/window_state.h"

#include <utility>

namespace platform {

std::uint16_t ScreenWidth = kFallbackWidth;
int RequestedSamples = kSamplesByRenderer;
std::uint16_t ScreenHeight = kFallbackHeight;
std::array<std::int32_t, 256> Keys{};
std::vector<KeyPress> KeyPresses;

void RecordKeyPress(KeyPress press) {
    // Held keys repeat many times a second: a stalled frame must not let them pile up.
    constexpr std::size_t kMostPresses = 64;
    if (KeyPresses.size() < kMostPresses) KeyPresses.push_back(press);
}

std::vector<KeyPress> TakeKeyPresses() {
    return std::exchange(KeyPresses, {});
}

} // namespace platform
