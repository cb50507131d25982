#include "platform/state.h"

namespace platform {

State state;

void ResetPlatformState() {
    state = {};
}

} // namespace platform
