// The operations on the engine's two process-wide stores, objects and texture names, which
// live in engine::state (engine/state.h).
#pragma once

#include <cstdint>

#include "engine/mesh.h"
#include "engine/state.h"

namespace engine {

inline std::uint16_t ObjectCount() {
    return static_cast<std::uint16_t>(state.Objects.size());
}
inline std::int32_t TextureCount() {
    return static_cast<std::int32_t>(state.Textures.size());
}

// A new texture slot, binding nothing until StoreTexture fills it; returns its index.
std::int32_t AddTextureSlot();
// Puts a GL texture name into a slot of state.Textures and counts its pixels in
// state.TexturePixels.
void StoreTexture(std::int32_t slot, std::uint32_t name, std::int64_t pixels);

// Each returns the 0-based index of what it added, or -1 when it added nothing.
std::int32_t NewObject(std::int32_t polygons, std::int32_t miniPolygons, std::int32_t vertices,
                       std::uint16_t cornersPerPolygon);
std::int32_t AddPolygon(std::int32_t object, std::uint16_t corners);
std::int32_t AddMiniPolygon(std::int32_t object);
std::int32_t AddVertex(std::int32_t object);

// The same operations on the store given; the ones above work on state.Objects.
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
    return ValidObject(state.Objects, object);
}

} // namespace engine
