// Any bytes as a 3DS model, with both settings of the mini-polygon flag. Afterwards the store
// must still keep its own rules, and smoothing every corner must stay inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "engine/geometry.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "platform/platform_double.h"

namespace {

void Check() {
    if (engine::ObjectCount() != engine::state.Objects.size()) std::abort();
    for (std::int32_t o = 0; o < engine::ObjectCount(); ++o) {
        const engine::VE_TObject& object = engine::state.Objects[o];
        if (object.VertexCount() != object.Vertices.size() ||
            object.MiniPolygonCount() != object.MiniPolygons.size() ||
            object.PolygonCount() != object.Polygons.size())
            std::abort();
        const engine::NormalIndex index = engine::BuildNormalIndex(o);
        for (std::int32_t f = 0; f < object.MiniPolygonCount(); ++f)
            for (int c = 0; c < 3; ++c) {
                const engine::TVector3 n = engine::SmoothedNormal(index, f, c);
                if (n.x != n.x || n.y != n.y || n.z != n.z) std::abort();
            }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (std::uint8_t mini : {std::uint8_t{255}, std::uint8_t{0}}) {
        platform::testing::ResetDouble();
        engine::EngineInit();
        engine::Load3DSFromMemory(bytes, "fuzz.3ds", mini);
        Check();
    }
    return 0;
}
