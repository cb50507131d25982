// The engine's mesh records: vertices, triangles, general polygons and the objects made of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

struct TVector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// One triangle of a mesh.
struct TMiniPolygon {
    std::array<std::uint16_t, 3> Indices{0, 0, 0}; // vertex indices, file winding order
    float Red = 1.0f;
    float Green = 1.0f;
    float Blue = 1.0f;
    float Alpha = 1.0f;
};

// A general polygon of n corners; the 3DS loader writes faces here when asked to.
struct VE_TPolygon {
    std::vector<std::uint16_t> Indices;
    std::vector<float> Red, Green, Blue, Fourth; // one value per corner

    std::uint16_t CornerCount() const { return static_cast<std::uint16_t>(Indices.size()); }
};

inline constexpr float kDefaultFarDistance = 1000.0f;

// One mesh. Each count is its array's length, which the add operations keep at most
// kMaxElements.
struct VE_TObject {
    float FarDistance = kDefaultFarDistance;
    std::vector<TVector3> Vertices;
    std::vector<VE_TPolygon> Polygons;
    std::vector<TMiniPolygon> MiniPolygons;
    std::string Name;

    std::uint16_t VertexCount() const { return static_cast<std::uint16_t>(Vertices.size()); }
    std::uint16_t PolygonCount() const { return static_cast<std::uint16_t>(Polygons.size()); }
    std::uint16_t MiniPolygonCount() const {
        return static_cast<std::uint16_t>(MiniPolygons.size());
    }
};

inline constexpr std::uint16_t kMaxElements = 65535;

using ObjectStore = std::vector<VE_TObject>;

} // namespace engine
