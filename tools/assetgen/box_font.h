// The glyphs of the program's own message box, compiled into the program as a C++ source.
#pragma once

#include <string>

namespace assetgen {

inline constexpr int kBoxFontPixels = 15;

// A C++ source defining platform::BoxTextFont(): DejaVu Sans at kBoxFontPixels,
// printable ASCII, as cropped coverage masks.
std::string BoxFontSource();

} // namespace assetgen
