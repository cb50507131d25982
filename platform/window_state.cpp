#include "platform/window_state.h"

#include <utility>

namespace platform {

void SetScreenSize(std::uint16_t width, std::uint16_t height) {
    state.ScreenWidth = width;
    state.ScreenHeight = height;
}

void RequestSamples(int samples) {
    state.RequestedSamples = samples;
}

void RecordKeyPress(KeyPress press) {
    // Held keys repeat many times a second: a stalled frame must not let them pile up.
    constexpr std::size_t kMostPresses = 64;
    if (state.KeyPresses.size() < kMostPresses) state.KeyPresses.push_back(press);
}

std::vector<KeyPress> TakeKeyPresses() {
    return std::exchange(state.KeyPresses, {});
}

void SetKey(std::uint32_t key, bool down) {
    if (key < state.Keys.size()) state.Keys[key] = down ? -1 : 0;
}

} // namespace platform
