// The per-frame update: time, pointer, keys, panel, camera, picking and turn flow.
#pragma once

namespace game {

void UpdateFrame();

// Inclusive point-in-rectangle test: the point, then the lower and the upper corner.
bool PointInRect(double px, double py, double x1, double y1, double x2, double y2);

} // namespace game
