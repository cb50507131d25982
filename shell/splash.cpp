#include "shell/splash.h"

#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace shell {

// The picture koravex-assetgen draws at build time: RGB bytes, top row first.
std::span<const std::uint8_t> SplashPicture();

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;

} // namespace

void ShowSplash() {
    const std::span<const std::uint8_t> picture = SplashPicture();
    // A picture of another size would be read past its end: show no splash rather.
    if (picture.size() != static_cast<std::size_t>(kWidth) * kHeight * 3) return;
    platform::ShowSplash(picture.data(), kWidth, kHeight);
}

} // namespace shell
