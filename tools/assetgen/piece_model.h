// The playing piece: a turned pawn standing on z = 0, its axis along +z.
#pragma once

#include "tools/assetgen/mesh.h"

namespace assetgen {

inline constexpr float kPieceRadius = 3.6f; // widest point, at the foot
inline constexpr float kPieceHeight = 5.8f;
// Where the game shows a piece largest, a near cell at 1080 lines, its foot is about 60 pixels
// in radius. There each ring's outline may stray from its circle by about half a pixel: every
// piece on the board is drawn each frame, and more sides would cost time and show nothing.
inline constexpr float kLargestPixelsPerUnit = 60.0f / kPieceRadius;
inline constexpr float kOutlineStrayPixels = 0.55f;

// The fewest sides, an even number, that keep a ring of this radius within that stray: 24 at
// the foot, fewer up the narrow neck and the ball.
int RingSides(float radius);

Mesh BuildPiece();

// A body of revolution about the z axis: the profile runs from a point on the axis at the
// bottom, up the outside, to a point on the axis at the top. `sides` gives each ring between
// them (profile points 1 .. size - 2) its number of sides round the axis; neighbouring rings
// of different sides are zipped together without a crack.
Mesh Revolve(const std::vector<std::array<float, 2>>& profile, const std::vector<int>& sides);

} // namespace assetgen
