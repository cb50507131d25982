// Every layer a frame update reads at its start values, through each layer's own reset.
#pragma once

#include "game/state.h"
#include "platform/message_queue.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "rules/state.h"

namespace kxtest {

// A fresh double, no message waiting, and the platform, rules and game layers as a run starts.
inline void ResetLayers() {
    platform::testing::ResetDouble();
    platform::ClearMessages();
    platform::ResetPlatformState();
    game::ResetGameState();
    rules::ResetRulesState();
}

} // namespace kxtest
