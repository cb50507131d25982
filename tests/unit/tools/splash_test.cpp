// The splash picture compiled into the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <span>

#include "platform/platform_double.h"
#include "shell/splash.h"

namespace shell {
std::span<const std::uint8_t> SplashPicture();
}

namespace {

TEST(Splash, IsTheGeneratedPictureOfTheFormsSize) {
    const std::span<const std::uint8_t> picture = shell::SplashPicture();
    ASSERT_EQ(picture.size(), 320u * 200u * 3u);
    // A real picture: many colours, light lettering on dark wood.
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < picture.size(); i += 3)
        colours.insert(picture[i] << 16 | picture[i + 1] << 8 | picture[i + 2]);
    EXPECT_GT(colours.size(), 500u);
    const auto [dark, light] = std::minmax_element(picture.begin(), picture.end());
    EXPECT_LT(*dark, 40);
    EXPECT_GT(*light, 220);

    platform::testing::ResetDouble();
    shell::ShowSplash();
    EXPECT_EQ(platform::testing::Double().splashShown, 1);
}

} // namespace
