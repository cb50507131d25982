#include "render/state.h"

namespace render {

State state;

void ResetRenderState() {
    state = {};
}

} // namespace render
