// The engine's mesh records and its two process-wide stores: objects and texture names.
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
    std::uint16_t CornerCount = 0;
    std::vector<float> Red, Green, Blue, Fourth; // one value per corner
};

// One mesh. The counts always equal the lengths of their arrays.
struct VE_TObject {
    float FarDistance = 1000.0f;
    std::vector<TVector3> Vertices;
    std::uint16_t VertexCount = 0;
    std::vector<VE_TPolygon> Polygons;
    std::uint16_t PolygonCount = 0;
    std::vector<TMiniPolygon> MiniPolygons;
    std::uint16_t MiniPolygonCount = 0;
    std::string Name;
};

inline constexpr std::uint16_t kMaxElements = 65535;

extern std::vector<VE_TObject> Objects;     // every mesh of the program
extern std::uint16_t ObjectCount;           // length of Objects
extern std::vector<std::uint32_t> Textures; // GL texture names by slot; 0 until generated
extern std::int32_t TextureCount;           // length of Textures
extern std::int64_t TexturePixels;          // pixels of every picture uploaded since EngineInit
extern float DefaultFarDistance;            // copied into each new object

void EngineInit();
void EngineReset();

// Each returns the 0-based index of what it added, or -1 when it added nothing.
std::int32_t NewObject(std::int32_t polygons, std::int32_t miniPolygons, std::int32_t vertices,
                       std::uint16_t cornersPerPolygon);
std::int32_t AddPolygon(std::int32_t object, std::uint16_t corners);
std::int32_t AddMiniPolygon(std::int32_t object);
std::int32_t AddVertex(std::int32_t object);

// True when object is an index into Objects: the loaders check before writing.
inline bool ValidObject(std::int32_t object) {
    return object >= 0 && object < static_cast<std::int32_t>(Objects.size());
}

} // namespace engine
