// The frame as the renderer gets it: the game, view and panel state described in a
// render::FrameView, and the scene camera that picking shares.
#pragma once

#include "render/frame_view.h"
#include "render/scene.h"

namespace game {

// The frame as it stands: camera, board, moving pieces, assets and the overlay's quads.
render::FrameView DescribeFrame();

// Draws the frame described by DescribeFrame; changes nothing but GL state.
void DrawScene();

// The camera of the current view.
render::Camera SceneCamera();

} // namespace game
