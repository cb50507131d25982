// The playing piece: a turned pawn standing on z = 0, its axis along +z.
#pragma once

#include "tools/assetgen/mesh.h"

namespace assetgen {

inline constexpr float kPieceRadius = 3.6f; // widest point, at the foot
inline constexpr float kPieceHeight = 5.8f;

Mesh BuildPiece();

// A body of revolution about the z axis: the profile runs from a point on the axis at the
// bottom, up the outside, to a point on the axis at the top; `segments` sides around.
Mesh Revolve(const std::vector<std::array<float, 2>>& profile, int segments);

} // namespace assetgen
