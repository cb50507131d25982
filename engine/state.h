// The engine layer's run-time state: its two stores, objects and texture names, and what the
// objects start from. Only this layer writes it (engine/store.h); EngineInit gives all of it its
// start values.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/mesh.h"

namespace engine {

struct State {
    ObjectStore Objects;                 // every mesh of the program
    std::vector<std::uint32_t> Textures; // GL texture names by slot; 0 until generated
    std::int64_t TexturePixels = 0;      // pixels of every picture uploaded since EngineInit
    float DefaultFarDistance = kDefaultFarDistance; // copied into each new object
};
extern State state;

// Start values of every member.
void EngineInit();
// Empties the stores, as an engine report asks; the pixels counted and the far distance stay.
void EngineReset();

} // namespace engine
