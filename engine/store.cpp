#include "engine/store.h"

#include "base/report.h"

namespace engine {

std::int32_t AddTextureSlot() {
    state.Textures.push_back(0);
    return TextureCount() - 1;
}

void StoreTexture(std::int32_t slot, std::uint32_t name, std::int64_t pixels) {
    state.TexturePixels += pixels;
    state.Textures[static_cast<std::size_t>(slot)] = name;
}

std::int32_t AddPolygon(ObjectStore& store, std::int32_t object, std::uint16_t corners) {
    if (!ValidObject(store, object)) return -1;
    VE_TObject& o = store[object];
    if (o.PolygonCount() == kMaxElements) return -1;
    VE_TPolygon p;
    p.Indices.assign(corners, 0);
    p.Red.assign(corners, 1.0f);
    p.Green.assign(corners, 1.0f);
    p.Blue.assign(corners, 1.0f);
    p.Fourth.assign(corners, 0.0f);
    o.Polygons.push_back(std::move(p));
    return o.PolygonCount() - 1;
}

std::int32_t AddMiniPolygon(ObjectStore& store, std::int32_t object) {
    if (!ValidObject(store, object)) return -1;
    VE_TObject& o = store[object];
    if (o.MiniPolygonCount() == kMaxElements) return -1;
    o.MiniPolygons.emplace_back();
    return o.MiniPolygonCount() - 1;
}

std::int32_t AddVertex(ObjectStore& store, std::int32_t object) {
    if (!ValidObject(store, object)) return -1;
    VE_TObject& o = store[object];
    if (o.VertexCount() == kMaxElements) return -1;
    o.Vertices.emplace_back();
    return o.VertexCount() - 1;
}

std::int32_t NewObject(ObjectStore& store, std::int32_t polygons, std::int32_t miniPolygons,
                       std::int32_t vertices, std::uint16_t cornersPerPolygon) {
    // No message exists for a full object store; the caller sees -1.
    if (store.size() == kMaxElements) return -1;
    store.emplace_back();
    store.back().FarDistance = state.DefaultFarDistance;
    const auto index = static_cast<std::int32_t>(store.size()) - 1;

    for (std::int32_t k = 0; k < polygons; ++k) {
        if (AddPolygon(store, index, cornersPerPolygon) < 0) {
            base::ShowEngineError("Error while initializing polygons !!");
            return -1;
        }
    }
    for (std::int32_t k = 0; k < miniPolygons; ++k) {
        if (AddMiniPolygon(store, index) < 0) {
            base::ShowEngineError("Error while initializing mini polygons !!");
            return -1;
        }
    }
    for (std::int32_t k = 0; k < vertices; ++k) {
        if (AddVertex(store, index) < 0) {
            base::ShowEngineError("Error while initializing vertices !!");
            return -1;
        }
    }
    return static_cast<std::int32_t>(store.size()) - 1;
}

std::int32_t NewObject(std::int32_t polygons, std::int32_t miniPolygons, std::int32_t vertices,
                       std::uint16_t cornersPerPolygon) {
    return NewObject(state.Objects, polygons, miniPolygons, vertices, cornersPerPolygon);
}

std::int32_t AddPolygon(std::int32_t object, std::uint16_t corners) {
    return AddPolygon(state.Objects, object, corners);
}

std::int32_t AddMiniPolygon(std::int32_t object) {
    return AddMiniPolygon(state.Objects, object);
}

std::int32_t AddVertex(std::int32_t object) {
    return AddVertex(state.Objects, object);
}

} // namespace engine
