#include "platform/window_state.h"

namespace platform {

std::uint16_t ScreenWidth = kFallbackWidth;
int RequestedSamples = kSamplesByRenderer;
std::uint16_t ScreenHeight = kFallbackHeight;
std::array<std::int32_t, 256> Keys{};

} // namespace platform
