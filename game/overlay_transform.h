// Where the overlay lies in the window. Its pictures are laid out in the 1024 x 768 virtual
// screen, which is scaled alike both ways, by the window's height, or by its width where the
// window is narrower than 4:3, so they keep their proportions on any screen. The panel and
// the menu tab keep to the window's top-right corner, the help page to its middle; at 4:3
// both fill the window as the virtual screen does. The pointer is read through the same
// transform, so a control is hit where it is drawn.
#pragma once

#include "render/frame_view.h"

namespace game {

struct VirtualPoint {
    double x = 0, y = 0;
};

// Window pixels per virtual-screen unit: min(width / 1024, height / 768).
double OverlayScale(int width, int height);

// A rectangle of the virtual screen (units, drawn up to 1023 x 767) in window pixels, y up,
// for the panel and the tab, which keep to the top-right corner.
render::ScreenRect CornerToWindow(const render::ScreenRect& units, int width, int height);
// The same for the help page, which keeps to the middle.
render::ScreenRect PageToWindow(const render::ScreenRect& units, int width, int height);

// A point of the window (pixels, y up) in the virtual screen of the panel, where its controls
// are tested (the right edge at 1024, the top at 768).
VirtualPoint WindowToCorner(double x, double y, int width, int height);

} // namespace game
