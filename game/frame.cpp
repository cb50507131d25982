#include "game/frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "game/keys.h"
#include "game/overlay_transform.h"
#include "game/panel.h"
#include "game/picking.h"
#include "game/state.h"
#include "game/status_line.h"
#include "platform/keymap.h"
#include "platform/message_queue.h"
#include "platform/platform.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/rules.h"

namespace game {

namespace {

namespace vk = platform::vk;

void MeasureFrameTime() {
    const std::uint32_t now = platform::TickCount();
    if (state.LastTick != 0) {
        // Unsigned difference: right across the wrap of the tick count.
        const std::uint32_t elapsed = now - state.LastTick;
        state.FrameTime = static_cast<std::int32_t>(
            std::min<std::uint32_t>(elapsed, std::numeric_limits<std::int32_t>::max()));
    } else {
        state.FrameTime = 1;
    }
    state.LastTick = now;
}

// Rounds half to even, and keeps a far-off cursor from overflowing the pointer.
std::int32_t ToVirtual(double value) {
    constexpr double kLimit = 1e9;
    return static_cast<std::int32_t>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

// Reads the cursor into the virtual screen; returns it in window pixels, y upwards.
WindowCursor ReadPointer() {
    if (state.HelpShown) {
        state.PointerX = 0;
        state.PointerY = 0;
        return {};
    }
    int x = 0;
    int y = 0;
    platform::CursorPos(x, y);
    // A pointer that moves takes the preview back from the cell cursor.
    if (x != state.LastCursorX || y != state.LastCursorY) state.KeyboardInUse = false;
    state.LastCursorX = x;
    state.LastCursorY = y;
    const WindowCursor cursor{static_cast<double>(x),
                              static_cast<double>(render::state.ViewportHeight) - y};
    const VirtualPoint at = WindowToCorner(cursor.x, cursor.y, platform::state.ScreenWidth,
                                           platform::state.ScreenHeight);
    state.PointerX = ToVirtual(at.x);
    state.PointerY = ToVirtual(at.y);
    return cursor;
}

void TurnByKeys() {
    if (platform::state.Keys[vk::kUp]) state.CameraTilt += 1.0f;
    if (platform::state.Keys[vk::kDown]) state.CameraTilt -= 1.0f;
    if (platform::state.Keys[vk::kLeft]) state.CameraTurn -= 1.0f;
    if (platform::state.Keys[vk::kRight]) state.CameraTurn += 1.0f;
}

} // namespace

void UpdateFrame() {
    MeasureFrameTime();
    const WindowCursor cursor = ReadPointer();

    if (state.QuitPromptShown && state.LastTick - state.QuitPromptTick >= kQuitPromptMs)
        state.QuitPromptShown = false;
    EndHintWhenDone();

    // Exit and help are tested against the panel as it stood before this update slides it.
    const int startLeft = PanelLeft();
    if (LeftPressedOn(panel::kExit, startLeft))
        platform::SendMessage(platform::Message{platform::MessageKind::Close});
    if (LeftPressedOn(panel::kHelp, startLeft)) {
        WaitForLeftRelease();
        state.HelpShown = true;
    }
    if (state.HelpShown) {
        state.MenuOffset = 0;
        if (platform::LeftButtonDown()) {
            WaitForLeftRelease();
            state.HelpShown = false;
        }
    }

    TurnByKeys();
    // After the turning, so that the cursor's directions follow the view as it now shows.
    const KeyRequests keys = HandleKeyPresses();
    if (keys.quit) platform::SendMessage(platform::Message{platform::MessageKind::Close});
    rules::AdvancePulse(state.FrameTime);
    const bool inPanelZone = UpdatePanel();

    // A press on the panel must not also land on the cell drawn beneath it.
    if (state.HelpShown || inPanelZone || !platform::HasGlContext())
        state.HoverCell = rules::Cell{};
    else
        state.HoverCell = PickCell(cursor);

    rules::LandPendingMove(state.FrameTime);
    rules::ComputerChoice();
    rules::HumanChoice(platform::LeftButtonDown(), state.HoverCell);
    if (keys.place) rules::HumanChoice(true, state.KeyCursor);

    const bool newGameClicked = LeftPressedOn(panel::kNewGame, PanelLeft());
    if (newGameClicked) WaitForLeftRelease();
    if (newGameClicked || keys.newGame) {
        rules::NewGame();
        // A new game starts its clock anew: the first frame counts 1 ms.
        state.LastTick = 0;
    }
    if (rules::state.GameOver) state.HoverCell.i = -1;
    EndHintWhenDone();
    // Every step has seen this frame's clicks; the next frame sees only new ones.
    platform::ForgetLeftPresses();
}

} // namespace game
