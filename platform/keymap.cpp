#include "platform/keymap.h"

#include <SDL.h>

namespace platform {

std::uint32_t VirtualKeyFromSdl(std::int32_t key) {
    switch (key) {
    case SDLK_ESCAPE:
        return vk::kEscape;
    case SDLK_LEFT:
        return vk::kLeft;
    case SDLK_UP:
        return vk::kUp;
    case SDLK_RIGHT:
        return vk::kRight;
    case SDLK_DOWN:
        return vk::kDown;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return vk::kReturn;
    case SDLK_SPACE:
        return vk::kSpace;
    case SDLK_BACKSPACE:
        return vk::kBack;
    case SDLK_SLASH:
        return vk::kSlash;
    case SDLK_QUESTION:
        return vk::kQuestion;
    case SDLK_TAB:
        return vk::kTab;
    // Plus is shifted on some layouts and not on others; either way it is one key.
    case SDLK_EQUALS:
    case SDLK_PLUS:
        return vk::kPlus;
    case SDLK_MINUS:
        return vk::kMinus;
    case SDLK_KP_PLUS:
        return vk::kAdd;
    case SDLK_KP_MINUS:
        return vk::kSubtract;
    default:
        break;
    }
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>(key);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return vk::kF1 + static_cast<std::uint32_t>(key - SDLK_F1);
    // The keypad's digits, whether Num Lock is on or not.
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 97 + static_cast<std::uint32_t>(key - SDLK_KP_1);
    if (key == SDLK_KP_0) return 96;
    return 0;
}

} // namespace platform
