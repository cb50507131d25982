// Vector helpers and smoothed corner normals.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
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

// A vertex shared by many triangles, with shortcuts that give the same bits as the scan.
struct BusyVertex {
    double centre[3] = {0, 0, 0}; // with radius, a ball holding every normal at the vertex
    double radius = 0;
    TVector3 total; // the in-order sum of all those normals
    std::int32_t count = 0;
    mutable std::map<std::array<std::uint32_t, 3>, TVector3> byOwnNormal; // results met so far
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
NormalIndex BuildNormalIndex(std::int32_t object);
// Bit for bit what SmoothedNormal gives, in time proportional to the vertex's triangles, or
// less at vertices shared by many.
TVector3 SmoothedNormal(const NormalIndex& index, std::int32_t face, std::int32_t corner);

} // namespace engine
