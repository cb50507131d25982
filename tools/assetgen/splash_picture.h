// The splash picture, compiled into the program as a C++ source.
#pragma once

#include <string>

#include "tools/assetgen/canvas.h"

namespace assetgen {

inline constexpr int kSplashWidth = 320;
inline constexpr int kSplashHeight = 200;

Canvas SplashPicture();

// A C++ source defining shell::SplashPicture(): the picture's RGB bytes, top row first.
std::string SplashSource(const Canvas& picture);

} // namespace assetgen
