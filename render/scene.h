// Drawing one frame: the 3-D scene in perspective, then the 2-D overlay in the
// 1024 x 768 virtual screen.
#pragma once

#include "render/frame_view.h"
#include "render/scene_camera.h"

namespace render {

// Draws the whole frame as described; changes nothing but GL state.
// Leaves the scene's perspective, an identity model-view, lighting and texturing on.
void DrawScene(const FrameView& view);

} // namespace render
