// The board: a wooden slab whose playing face lies at z = 0, with 36 round hollows,
// a rounded edge and a body below.
#pragma once

#include "tools/assetgen/mesh.h"

namespace assetgen {

inline constexpr float kBoardHalf = 27.5f;   // outer edge; the board picture spans the same
inline constexpr float kFieldHalf = 26.0f;   // where the flat face turns into the rounded edge
inline constexpr float kEdgeRadius = 1.5f;   // the rounded edge
inline constexpr float kBoardBottom = -5.0f; // underside
inline constexpr float kHollowRadius = 2.6f; // the dish each piece rests over
inline constexpr float kHollowDepth = 0.5f;
inline constexpr float kCellPitch = 9.0f;

// Centre of cell k = 1..6 along either axis.
inline constexpr float CellCentre(int k) {
    return kCellPitch * static_cast<float>(k) - 31.5f;
}

Mesh BuildBoard();

} // namespace assetgen
