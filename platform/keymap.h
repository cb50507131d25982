// Translation of SDL key symbols into the virtual-key codes that Keys is indexed by.
#pragma once

#include <cstdint>

namespace platform {

// The virtual-key code for an SDL keycode, or 0 for keys the game has no code for.
std::uint32_t VirtualKeyFromSdl(std::int32_t sdlKeycode);

} // namespace platform
