// The program's icon for the desktop: the emblem's board, the four pieces of a won square on
// it, in a walnut frame, on a transparent ground.
#pragma once

#include <array>
#include <vector>

#include "tools/assetgen/png_writer.h"

namespace assetgen {

// The sizes installed into the icon theme, in pixels a side.
inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// Sizes up to this get a plainer drawing, with larger pieces and a thicker line and no
// hollows, which stays legible in a menu or a panel.
inline constexpr int kPlainUpTo = 32;

struct AppIconFile {
    int size = 0;
    RgbaPicture picture;
};

// The icon at every size of kIconSizes, smallest first.
std::vector<AppIconFile> AppIcons();

} // namespace assetgen
