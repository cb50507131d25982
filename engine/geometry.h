// Vector helpers and smoothed corner normals.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/store.h"

namespace engine {

// Each reads its inputs before writing, so `out` may be an input.
void VectorSub(const TVector3& a, const TVector3& b, TVector3& out);
void VectorCross(const TVector3& a, const TVector3& b, TVector3& out);
// A zero-length or non-finite vector gives (0, 0, 0).
void VectorNormalize(const TVector3& v, TVector3& out);
float PointDistance(float x1, float y1, float z1, float x2, float y2, float z2);
// PointDistance(a, b) <= 1, as that comparison comes out, without taking a square root: for unit
// normals, b lies within 60 degrees of a.
bool WithinCap(const TVector3& a, const TVector3& b);

// Unit normal of a triangle, (C - A) x (B - A); false for a degenerate triangle or one naming a
// vertex the object lacks.
bool FaceNormal(const VE_TObject& object, const TMiniPolygon& t, TVector3& out);

// The smoothed normal of corner `corner` of triangle `face`, as glNormal3f takes it: the mean of
// the unit normals of the triangles at that corner's vertex within 60 degrees of the triangle's
// own. Corners of degenerate triangles get (0, 0, 1). One pass over all triangles per call.
TVector3 SmoothedNormal(std::int32_t object, std::int32_t face, std::int32_t corner);
// Whether corner `corner` of triangle `face` of `object` lies in the store.
bool ValidCorner(std::int32_t object, std::int32_t face, std::int32_t corner);

// What smoothing costs. Up to kHugeUses triangles at a vertex, each corner there scans them all
// in triangle order (the float sum must meet them in that order), unless a shortcut that gives
// the same bits applies: at most 3 x kHugeUses tests per triangle of the model. Beyond it, the
// result of each distinct normal at the vertex is worked out when the index is built, with two
// relaxations for sizes no shipped model comes near (their busiest vertex has 144 triangles):
// - The neighbours within the cap are found through a box tree and summed in double precision,
//   which can differ from the in-order float sum in the last bits.
// - Normals crowded at one another's 60-degree edge can make the tree test nearly every pair of
//   them. Once a vertex's tree has taken kTreeWorkPerUse steps (a node visited or a normal
//   tested) per triangle there, every corner of the vertex chooses its neighbours by the centre
//   of the cell they fall in, on a grid of kGridRows rows of latitude by twice as many columns
//   of longitude (under 3 degrees a cell), at a few dozen rows per distinct normal: normals a
//   few degrees either side of 60 may then count or not.
inline constexpr std::uint32_t kHugeUses = 512;
inline constexpr std::int64_t kTreeWorkPerUse = 128;
inline constexpr int kGridRows = 64;

// A normal's bits, which pick the results worked out for it.
using NormalKey = std::array<std::uint32_t, 3>;

// A vertex shared by many triangles, with shortcuts that give the same bits as the scan.
struct BusyVertex {
    double centre[3] = {0, 0, 0}; // with radius, a ball holding every normal at the vertex
    double radius = 0;
    TVector3 total; // the in-order sum of all those normals
    std::int32_t count = 0;
    mutable std::map<NormalKey, TVector3> byOwnNormal; // results met so far
    // Beyond kHugeUses: the result for each distinct normal at the vertex, sorted by key.
    std::vector<std::pair<NormalKey, TVector3>> huge;
};

// Per-object work shared by all corners of one object: face normals and, for each vertex, the
// triangles using it in (triangle, corner) order.
struct NormalIndex {
    std::vector<std::array<std::uint16_t, 3>> corners; // each triangle's vertex indices
    std::vector<TVector3> normals;
    std::vector<std::uint8_t> valid; // 255 when normals[i] is a face normal
    std::vector<std::uint32_t>
        firstUse;                     // per vertex, its first entry in useNormals; one past the end
    std::vector<TVector3> useNormals; // normals of the triangles at each vertex, grouped by vertex
    std::unordered_map<std::uint16_t, BusyVertex> busy; // vertices with many triangles
};
// `treeWorkPerUse` below kTreeWorkPerUse sends huge vertices to the grid sooner (0: at once).
NormalIndex BuildNormalIndex(std::int32_t object, std::int64_t treeWorkPerUse = kTreeWorkPerUse);
// Bit for bit what SmoothedNormal gives, in time proportional to the vertex's triangles, or
// less at vertices shared by many; beyond kHugeUses as described above. Building the index
// costs O(n log n) in the triangles and gives way to a quit request (base::StopIfQuitRequested,
// which throws) every few milliseconds.
TVector3 SmoothedNormal(const NormalIndex& index, std::int32_t face, std::int32_t corner);

} // namespace engine
