// The line of sight through a window point, for finding what the pointer shows.
#pragma once

#include <array>

#include "render/frame_view.h"

namespace render {

// A stretch of a line of sight in the board's frame: the scene camera's, before a cell's
// offset and the model scale (x along i, y along j, z up from the board's face at 0), from
// the near plane (t = 0) to the far plane (t = 1).
struct SightRay {
    std::array<double, 3> nearPoint{};
    std::array<double, 3> farPoint{};
};

// The line of sight through window point (x, y), y upwards, under the scene camera and the
// projection and viewport current in the GL context, the same the scene is drawn with; false
// where they have no inverse. Leaves the scene camera as the model-view.
bool SightThrough(const Camera& camera, double x, double y, SightRay& ray);

} // namespace render
