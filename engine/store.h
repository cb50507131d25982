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

extern ObjectStore Objects;                 // every mesh of the program
extern std::vector<std::uint32_t> Textures; // GL texture names by slot; 0 until generated
extern std::int64_t TexturePixels;          // pixels of every picture uploaded since EngineInit
extern float DefaultFarDistance;            // copied into each new object

inline std::uint16_t ObjectCount() {
    return static_cast<std::uint16_t>(Objects.size());
}
inline std::int32_t TextureCount() {
    return static_cast<std::int32_t>(Textures.size());
}

// EngineInit gives every variable above its start value; EngineReset empties the stores.
void EngineInit();
void EngineReset();

// A new texture slot, binding nothing until StoreTexture fills it; returns its index.
std::int32_t AddTextureSlot();
// Puts a GL texture name into a slot of Textures and counts its pixels in TexturePixels.
void StoreTexture(std::int32_t slot, std::uint32_t name, std::int64_t pixels);

// Each returns the 0-based index of what it added, or -1 when it added nothing.
std::int32_t NewObject(std::int32_t polygons, std::int32_t miniPolygons, std::int32_t vertices,
                       std::uint16_t cornersPerPolygon);
std::int32_t AddPolygon(std::int32_t object, std::uint16_t corners);
std::int32_t AddMiniPolygon(std::int32_t object);
std::int32_t AddVertex(std::int32_t object);

// The same operations on the store given; the ones above work on Objects.
std::int32_t NewObject(ObjectStore& store, std::int32_t polygons, std::int32_t miniPolygons,
                       std::int32_t vertices, std::uint16_t cornersPerPolygon);
std::int32_t AddPolygon(ObjectStore& store, std::int32_t object, std::uint16_t corners);
std::int32_t AddMiniPolygon(ObjectStore& store, std::int32_t object);
std::int32_t AddVertex(ObjectStore& store, std::int32_t object);

// True when object is an index into the store: the loaders check before writing.
inline bool ValidObject(const ObjectStore& store, std::int32_t object) {
    return object >= 0 && object < static_cast<std::int32_t>(store.size());
}
inline bool ValidObject(std::int32_t object) {
    return ValidObject(Objects, object);
}

} // namespace engine
