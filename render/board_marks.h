// What the board shows round its pieces: a soft contact shadow under every standing piece and a
// ring round the one that landed last.
#pragma once

#include <cstdint>

#include "render/frame_view.h"
#include "render/state.h"

namespace render {

// The board model's face as the marks follow it, in the model's units: flat at z = 0 up to
// kBoardFieldHalf from the centre along x and y (but for the hollows the pieces cover), then
// rounding off downwards with radius kBoardEdgeRadius.
inline constexpr float kBoardFieldHalf = 26.0f;
inline constexpr float kBoardEdgeRadius = 1.5f;

// Height of the board's face at (x, y) outside the hollows: 0 on the field, falling away along
// the rounded edge, down to -kBoardEdgeRadius at the board's side.
float BoardFaceHeight(float x, float y);

// Makes the contact shadow's picture in the current context and keeps it in
// state.ShadowTexture.
void MakeShadowTexture();

// The ring round the last move's piece, opaque, just above the board's face; nothing when that
// cell is off the board or empty.
void DrawLastMoveRing(const FrameView& view);

// One soft dark disc round the foot of every standing piece, blended over the board drawn
// already, clipped to the board's flat face; writes no depth. Leaves blending off.
void DrawContactShadows(const FrameView& view);

} // namespace render
