// Translation of SDL key symbols into the virtual-key codes that Keys is indexed by.
#pragma once

#include <cstdint>

namespace platform {

// The virtual-key codes the game acts on; letters and digits are their upper-case ASCII codes.
namespace vk {
inline constexpr std::uint32_t kBack = 8; // Backspace
inline constexpr std::uint32_t kTab = 9;
inline constexpr std::uint32_t kReturn = 13;
inline constexpr std::uint32_t kEscape = 27;
inline constexpr std::uint32_t kSpace = 32;
inline constexpr std::uint32_t kQuestion = 63; // a key of its own for '?', where a layout has one
inline constexpr std::uint32_t kLeft = 37;
inline constexpr std::uint32_t kUp = 38;
inline constexpr std::uint32_t kRight = 39;
inline constexpr std::uint32_t kDown = 40;
inline constexpr std::uint32_t kNumpad2 = 98;
inline constexpr std::uint32_t kNumpad4 = 100;
inline constexpr std::uint32_t kNumpad6 = 102;
inline constexpr std::uint32_t kNumpad8 = 104;
inline constexpr std::uint32_t kAdd = 107;      // keypad plus
inline constexpr std::uint32_t kSubtract = 109; // keypad minus
inline constexpr std::uint32_t kF1 = 112;
inline constexpr std::uint32_t kF2 = 113;
inline constexpr std::uint32_t kF3 = 114;
inline constexpr std::uint32_t kPlus = 187;  // the key with plus on it, shifted or not
inline constexpr std::uint32_t kMinus = 189; // the key with minus on it
inline constexpr std::uint32_t kSlash = 191; // the key with '/' on it, '?' when shifted
} // namespace vk

// The virtual-key code for an SDL keycode, or 0 for keys the game has no code for.
std::uint32_t VirtualKeyFromSdl(std::int32_t sdlKeycode);

} // namespace platform
