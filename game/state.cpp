#include "game/state.h"

namespace game {

State state;

void ResetGameState() {
    state = {};
}

} // namespace game
