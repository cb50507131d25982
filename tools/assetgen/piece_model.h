// The playing piece: a turned pawn standing on z = 0, its axis along +z.
#pragma once

#include "tools/assetgen/mesh.h"

namespace assetgen {

inline constexpr float kPieceRadius = 3.6f; // widest point, at the foot
inline constexpr float kPieceHeight = 5.8f;
// Sides around the axis. Even where the game shows a piece largest (about 60 pixels across
// its foot's radius at 1080 lines) a 24-sided outline strays from the circle by half a pixel,
// and every piece on the board is drawn each frame: more sides cost time and show nothing.
inline constexpr int kPieceSides = 24;

Mesh BuildPiece();

// A body of revolution about the z axis: the profile runs from a point on the axis at the
// bottom, up the outside, to a point on the axis at the top; `segments` sides around.
Mesh Revolve(const std::vector<std::array<float, 2>>& profile, int segments);

} // namespace assetgen
