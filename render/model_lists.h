// Display lists of the board and piece meshes: smoothed normals and planar texture coordinates.
#pragma once

#include <cstdint>
#include <optional>

namespace render {

// How a model's x and y map onto its picture: s = (x + offset) / span, t = (y + offset) / span.
struct ListLook {
    double offset = 0.0;
    double span = 1.0;
    bool greyBeforeEachTriangle = false; // glColor4f(0.5, 0.5, 0.5, 0.5) before every triangle
};

inline constexpr ListLook kPieceLook{20.0, 30.0, false};
inline constexpr ListLook kBoardLook{27.5, 55.0, true};

// Compiles the triangles of engine::state.Objects[object] into a new display list and returns its
// name. An object outside the store gives a list holding an empty triangle batch.
std::uint32_t CompileModelList(std::int32_t object, const ListLook& look);

// The same list with each corner's normal found by a full scan of the object's triangles;
// the reference the fast compiler is measured and checked against.
std::uint32_t CompileModelListByScan(std::int32_t object, const ListLook& look);

} // namespace render
