#include "game/overlay_transform.h"

#include <algorithm>

namespace game {

namespace {

// Drawing spans the virtual screen's last unit (1023, 767) over the window, hit tests its
// full width (1024, 768): each keeps its own scale, as it did before the screen kept its shape.
constexpr double kDrawnRight = render::kScreenRight;
constexpr double kDrawnTop = render::kScreenTop;
constexpr double kTestedRight = 1024;
constexpr double kTestedTop = 768;

struct Sides {
    double width, height;
};

Sides SidesOf(int width, int height) {
    return {static_cast<double>(std::max(width, 1)), static_cast<double>(std::max(height, 1))};
}

} // namespace

double OverlayScale(int width, int height) {
    const Sides s = SidesOf(width, height);
    return std::min(s.width / kTestedRight, s.height / kTestedTop);
}

render::ScreenRect CornerToWindow(const render::ScreenRect& units, int width, int height) {
    const Sides s = SidesOf(width, height);
    const double scale = OverlayScale(width, height);
    const double perX = scale * kTestedRight / kDrawnRight;
    const double perY = scale * kTestedTop / kDrawnTop;
    return {s.width - (kDrawnRight - units.x1) * perX, s.height - (kDrawnTop - units.y1) * perY,
            s.width - (kDrawnRight - units.x2) * perX, s.height - (kDrawnTop - units.y2) * perY};
}

render::ScreenRect PageToWindow(const render::ScreenRect& units, int width, int height) {
    const Sides s = SidesOf(width, height);
    const double scale = OverlayScale(width, height);
    const double left = 0.5 * (s.width - scale * kTestedRight);
    const double bottom = 0.5 * (s.height - scale * kTestedTop);
    const double perX = scale * kTestedRight / kDrawnRight;
    const double perY = scale * kTestedTop / kDrawnTop;
    return {left + units.x1 * perX, bottom + units.y1 * perY, left + units.x2 * perX,
            bottom + units.y2 * perY};
}

VirtualPoint WindowToCorner(double x, double y, int width, int height) {
    const Sides s = SidesOf(width, height);
    const double scale = OverlayScale(width, height);
    return {kTestedRight - (s.width - x) / scale, kTestedTop - (s.height - y) / scale};
}

} // namespace game
