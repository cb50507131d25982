#include "engine/state.h"

namespace engine {

State state;

void EngineInit() {
    state = {};
}

void EngineReset() {
    state.Textures = {};
    state.Objects = {};
}

} // namespace engine
