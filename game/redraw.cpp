#include "game/redraw.h"

#include <algorithm>
#include <cstdint>

#include "game/panel.h"
#include "game/state.h"
#include "platform/platform.h"
#include "platform/window_state.h"
#include "rules/rules.h"

namespace game {

bool SomethingMoves() {
    const bool keyHeld = std::any_of(platform::state.Keys.begin(), platform::state.Keys.end(),
                                     [](std::int32_t key) { return key != 0; });
    return rules::state.MoveDelay > 0 || rules::state.GameOver || PanelSliding() || keyHeld ||
           state.Rotating || state.SliderDragging || rules::ComputerToMove() ||
           state.QuitPromptShown || state.HintShown;
}

bool FrameWanted() {
    // Key presses wait in their queue until a frame update takes them.
    return platform::InputSinceSwap() || !platform::state.KeyPresses.empty() || SomethingMoves();
}

void SkipWaitedTime() {
    state.LastTick = 0;
}

} // namespace game
