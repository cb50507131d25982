#include "game/picking.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/draw.h"
#include "render/view.h"

namespace game {

namespace {

constexpr int kAngles = 10;
constexpr float kRadius = 2.5f;
constexpr float kHeight = 10.0f;

// The window-space box around a circle floating above the cell.
struct Box {
    double minX, maxX, minY, maxY;
};

Box CellBox(int i, int j) {
    Box box{static_cast<double>(render::ViewportWidth), 0.0,
            static_cast<double>(render::ViewportHeight), 0.0};
    for (int k = 1; k <= kAngles; ++k) {
        // Only seven of these angles differ; the box is taken over exactly these points.
        const double a = 20 * std::numbers::pi / k;
        const engine::TVector3 point{kRadius * static_cast<float>(std::sin(a)), -kHeight,
                                     kRadius * static_cast<float>(std::cos(a))};
        const WindowPoint w = ProjectCellPoint(i, j, point);
        box.maxX = std::max(box.maxX, w.x);
        box.minX = std::min(box.minX, w.x);
        box.maxY = std::max(box.maxY, w.y);
        box.minY = std::min(box.minY, w.y);
    }
    return box;
}

} // namespace

rules::Cell PickCell(WindowCursor cursor) {
    for (int n = 1; n <= 36; ++n) {
        const int i = (n - 1) % 6 + 1;
        const int j = (n - 1) / 6 + 1;
        const Box box = CellBox(i, j);
        if (box.minX < cursor.x && cursor.x < box.maxX && box.minY < cursor.y &&
            cursor.y < box.maxY)
            return rules::Cell{i, j};
    }
    return rules::Cell{};
}

} // namespace game
