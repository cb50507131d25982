// The help page, shown over the whole screen.
#pragma once

#include "tools/assetgen/canvas.h"

namespace assetgen {

// 2048 x 1024: drawn at 4:3 and squeezed, so it looks right stretched over the 4:3 overlay
// and is close to one texel a pixel on a 1920 x 1080 screen.
Canvas HelpPage();

// A small picture of the board with four pieces on the corners of a square (cells 1..6).
void MiniBoard(Canvas& c, float x0, float y0, float size, const int corners[4][2], bool light);

} // namespace assetgen
