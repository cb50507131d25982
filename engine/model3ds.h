// The 3DS model parser: appends the named meshes of a model's bytes to an object store.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/byte_cursor.h"
#include "engine/store.h"

namespace engine {

// The largest model loaded, far above the game's 99 KB: a larger one is damage, so that no
// model costs more than a few hundred megabytes or a second to load.
inline constexpr std::int32_t kMaxModelBytes = 16 * 1024 * 1024;

struct ZString {
    std::string text;
    std::uint16_t consumed = 0; // bytes taken from the source, the zero byte included
};

// Reads bytes up to and including a zero byte, at most `limit` of them (0 meaning 255), and
// stops early where the source ends.
ZString ReadZString(base::ByteCursor& source, std::uint8_t limit);

// Appends the meshes of a model held in memory to `store`. Faces become mini polygons when
// `miniPolygons` is non-zero, else 3-corner polygons; `fileName` names the model in the report.
void Load3DSFromMemory(std::span<const std::uint8_t> data, const std::string& fileName,
                       std::uint8_t miniPolygons, ObjectStore& store = state.Objects);

} // namespace engine
