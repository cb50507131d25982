#include "platform/window_state.h"

namespace platform {

std::uint16_t ScreenWidth = 640;
std::uint16_t ScreenHeight = 480;
std::array<std::int32_t, 256> Keys{};

} // namespace platform
