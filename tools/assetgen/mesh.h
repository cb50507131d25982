// Triangle meshes as the models are built: shared vertices, triangles wound
// counter-clockwise seen from outside.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/store.h"

namespace assetgen {

using engine::TVector3;

struct Mesh {
    std::vector<TVector3> vertices;
    std::vector<std::array<std::uint16_t, 3>> faces;
};

// Appends a vertex and returns its index; throws past the 16-bit limit of the model format.
std::uint16_t AddVertex(Mesh& mesh, TVector3 position);
void AddTriangle(Mesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c);
// Two triangles for the quad a b c d (counter-clockwise), split along its shorter diagonal.
void AddQuad(Mesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d);

// Joins two closed rings of corners about the z axis, both starting at the same angle and running
// counter-clockwise seen from above, `a` the lower or outer one: the faces look outward or up,
// as AddQuad's do. Rings of as many corners are joined by quads; others are zipped, each step
// advancing along the ring whose next corner comes first round the axis, one triangle for each
// side of either ring. Returns where each new face starts: corner `step` of a ring of `of`.
struct RingStep {
    int step = 0;
    int of = 1;
};
std::vector<RingStep> ZipRings(Mesh& mesh, const std::vector<std::uint16_t>& a,
                               const std::vector<std::uint16_t>& b);

// What the generator checks before it writes a model.
struct MeshReport {
    std::size_t degenerate = 0;    // triangles with (almost) no area or a repeated vertex
    std::size_t openEdges = 0;     // directed edges without their opposite twin
    std::size_t overusedEdges = 0; // directed edges used by more than one triangle
};
MeshReport Inspect(const Mesh& mesh);
// Throws with the model's name unless the mesh is closed, consistently wound and has no
// degenerate triangle.
void RequireSound(const Mesh& mesh, const std::string& name);

} // namespace assetgen
