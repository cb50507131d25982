#include "platform/window_state.h"

#include <utility>

namespace platform {

std::uint16_t ScreenWidth = kFallbackWidth;
int RequestedSamples = kSamplesByRenderer;
std::uint16_t ScreenHeight = kFallbackHeight;
std::array<std::int32_t, 256> Keys{};
std::vector<KeyPress> KeyPresses;

void SetScreenSize(std::uint16_t width, std::uint16_t height) {
    ScreenWidth = width;
    ScreenHeight = height;
}

void RequestSamples(int samples) {
    RequestedSamples = samples;
}

void ResetWindowState() {
    ScreenWidth = kFallbackWidth;
    ScreenHeight = kFallbackHeight;
    Keys.fill(0);
    KeyPresses.clear();
    RequestedSamples = kSamplesByRenderer;
}

void RecordKeyPress(KeyPress press) {
    // Held keys repeat many times a second: a stalled frame must not let them pile up.
    constexpr std::size_t kMostPresses = 64;
    if (KeyPresses.size() < kMostPresses) KeyPresses.push_back(press);
}

std::vector<KeyPress> TakeKeyPresses() {
    return std::exchange(KeyPresses, {});
}

} // namespace platform
