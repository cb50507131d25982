#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/keymap.h"

namespace {

TEST(KeyMapping, SdlKeysBecomeVirtualKeyCodes) {
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_ESCAPE), 27u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_LEFT), 37u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_UP), 38u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_RIGHT), 39u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_DOWN), 40u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_a), static_cast<std::uint32_t>('A'));
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_z), static_cast<std::uint32_t>('Z'));
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_0), static_cast<std::uint32_t>('0'));
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_9), static_cast<std::uint32_t>('9'));
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_F1), 112u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_F3), 114u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_KP_ENTER), 13u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_KP_2), 98u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_KP_8), 104u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_KP_0), 96u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_EQUALS), 187u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_PLUS), 187u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_KP_MINUS), 109u);
    EXPECT_EQ(platform::VirtualKeyFromSdl(SDLK_CAPSLOCK), 0u);
}

} // namespace
