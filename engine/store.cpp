#include "engine/store.h"

#include "base/report.h"

namespace engine {

std::vector<VE_TObject> Objects;
std::uint16_t ObjectCount = 0;
std::vector<std::uint32_t> Textures;
std::int32_t TextureCount = 0;
std::int64_t TexturePixels = 0;
float DefaultFarDistance = 1000.0f;

void EngineInit() {
    Objects.clear();
    ObjectCount = 0;
    Textures.clear();
    TextureCount = 0;
    TexturePixels = 0;
    DefaultFarDistance = 1000.0f;
}

void EngineReset() {
    Textures = {};
    TextureCount = 0;
    Objects = {};
    ObjectCount = 0;
}

std::int32_t AddPolygon(std::int32_t object, std::uint16_t corners) {
    if (!ValidObject(object)) return -1;
    VE_TObject& o = Objects[object];
    if (o.PolygonCount == kMaxElements) return -1;
    VE_TPolygon p;
    p.CornerCount = corners;
    p.Indices.assign(corners, 0);
    p.Red.assign(corners, 1.0f);
    p.Green.assign(corners, 1.0f);
    p.Blue.assign(corners, 1.0f);
    p.Fourth.assign(corners, 0.0f);
    o.Polygons.push_back(std::move(p));
    return ++o.PolygonCount - 1;
}

std::int32_t AddMiniPolygon(std::int32_t object) {
    if (!ValidObject(object)) return -1;
    VE_TObject& o = Objects[object];
    if (o.MiniPolygonCount == kMaxElements) return -1;
    o.MiniPolygons.emplace_back();
    return ++o.MiniPolygonCount - 1;
}

std::int32_t AddVertex(std::int32_t object) {
    if (!ValidObject(object)) return -1;
    VE_TObject& o = Objects[object];
    if (o.VertexCount == kMaxElements) return -1;
    o.Vertices.emplace_back();
    return ++o.VertexCount - 1;
}

std::int32_t NewObject(std::int32_t polygons, std::int32_t miniPolygons, std::int32_t vertices,
                       std::uint16_t cornersPerPolygon) {
    // No message exists for a full object store; the caller sees -1.
    if (ObjectCount == kMaxElements) return -1;
    Objects.emplace_back();
    Objects.back().FarDistance = DefaultFarDistance;
    const std::int32_t index = ObjectCount++;

    for (std::int32_t k = 0; k < polygons; ++k) {
        if (AddPolygon(index, cornersPerPolygon) < 0) {
            base::ReportEngineError("Error while initializing polygons !!");
            return -1;
        }
    }
    for (std::int32_t k = 0; k < miniPolygons; ++k) {
        if (AddMiniPolygon(index) < 0) {
            base::ReportEngineError("Error while initializing mini polygons !!");
            return -1;
        }
    }
    for (std::int32_t k = 0; k < vertices; ++k) {
        if (AddVertex(index) < 0) {
            base::ReportEngineError("Error while initializing vertices !!");
            return -1;
        }
    }
    return ObjectCount - 1;
}

} // namespace engine
