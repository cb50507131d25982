#include "platform/keymap.h"

#include <SDL.h>

namespace platform {

std::uint32_t VirtualKeyFromSdl(std::int32_t key) {
    switch (key) {
    case SDLK_ESCAPE: return 27;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_RETURN: return 13;
    case SDLK_SPACE: return 32;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    default: break;
    }
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<std::uint32_t>(112 + (key - SDLK_F1));
    return 0;
}

} // namespace platform
