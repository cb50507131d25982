#include "game/panel.h"

#include <algorithm>
#include <cstdint>

#include "base/way_out.h"
#include "game/state.h"
#include "platform/platform.h"
#include "rules/computer.h"
#include "rules/rules.h"

namespace game {

namespace {

constexpr int kMenuClosed = 5;
constexpr int kMenuOpen = 200;

void UpdatePanelControls() {
    const int left = PanelLeft();
    if (LeftPressedOn(panel::kSeat1, left)) {
        rules::ToggleSeat(1);
        WaitForLeftRelease();
    }
    if (LeftPressedOn(panel::kSeat2, left)) {
        rules::ToggleSeat(2);
        WaitForLeftRelease();
    }
    if (LeftPressedOn(panel::kBegins2, left)) {
        rules::SetFirstPlayer(2);
        WaitForLeftRelease();
    }
    if (LeftPressedOn(panel::kBegins1, left)) {
        rules::SetFirstPlayer(1);
        WaitForLeftRelease();
    }

    if (!platform::LeftButtonDown()) state.SliderDragging = false;
    if (state.SliderDragging) {
        // Widened first: the pointer is not clamped and may lie far off the screen.
        const double moved =
            static_cast<double>(state.PointerX) - static_cast<double>(state.SliderDragX);
        state.StrengthSlider += moved * 100 / panel::kTrackLength;
        state.SliderDragX = state.PointerX;
    }
    state.StrengthSlider = std::clamp(state.StrengthSlider, 0.0, 100.0);
    rules::SetStrength(state.StrengthSlider);
    if (platform::LeftButtonDown() && PointerIn(KnobRect(left))) {
        state.SliderDragging = true;
        state.SliderDragX = state.PointerX;
    }
}

void TurnView() {
    if (!platform::RightButtonDown()) {
        state.Rotating = false;
        platform::SetCursor(platform::Cursor::Arrow);
    }
    if (state.Rotating) {
        const double dy =
            static_cast<double>(state.RotateAnchorY) - static_cast<double>(state.PointerY);
        const double dx =
            static_cast<double>(state.PointerX) - static_cast<double>(state.RotateAnchorX);
        state.CameraTilt = static_cast<float>(state.CameraTilt + dy / 3);
        state.CameraTurn = static_cast<float>(state.CameraTurn + dx / 3);
    }
    if (platform::RightButtonDown()) {
        state.Rotating = true;
        state.RotateAnchorX = state.PointerX;
        state.RotateAnchorY = state.PointerY;
        platform::SetCursor(platform::Cursor::SizeAll);
    }
    state.CameraTilt = std::clamp(state.CameraTilt, -90.0f, 0.0f);
}

// Widened so that a long frame cannot overflow the offset.
std::int32_t OpenedMenu() {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{state.MenuOffset} + state.FrameTime, kMenuOpen));
}

std::int32_t ClosedMenu() {
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(std::int64_t{state.MenuOffset} - state.FrameTime, kMenuClosed));
}

} // namespace

ScreenRect PanelRect(const panel::Rect& rect, int left) {
    return {static_cast<double>(left + rect.x1), static_cast<double>(rect.y1),
            static_cast<double>(left + rect.x2), static_cast<double>(rect.y2)};
}

ScreenRect KnobRect(int left) {
    const double centre = panel::kTrackLength * state.StrengthSlider / 100 + left + panel::kTrackX0;
    return {centre - panel::kKnobHalfWidth, static_cast<double>(panel::kTrackY1),
            centre + panel::kKnobHalfWidth, static_cast<double>(panel::kTrackY2)};
}

int PanelLeft() {
    return 1024 - state.MenuOffset;
}

bool PointInRect(double px, double py, double x1, double y1, double x2, double y2) {
    return x1 <= px && px <= x2 && y1 <= py && py <= y2;
}

bool PointerIn(const ScreenRect& rect) {
    return PointInRect(state.PointerX, state.PointerY, rect.x1, rect.y1, rect.x2, rect.y2);
}

bool LeftPressedOn(const panel::Rect& rect, int left) {
    return platform::LeftButtonDown() && PointerIn(PanelRect(rect, left));
}

bool PointerInPanelZone() {
    const panel::Rect& tab = panel::kTab;
    return state.PointerX > PanelLeft() ||
           PointInRect(state.PointerX, state.PointerY, tab.x1, tab.y1, tab.x2, tab.y2);
}

bool PanelSliding() {
    return PointerInPanelZone() ? state.MenuOffset < kMenuOpen : state.MenuOffset > kMenuClosed;
}

void WaitForLeftRelease() {
    // The press being waited out has been acted on, even one already released.
    platform::ForgetLeftPresses();
    // A signal asking the game to end is not kept waiting for a hand to let go.
    while (platform::LeftButtonDown() && !base::QuitRequested)
        platform::SleepMs(1);
}

bool UpdatePanel() {
    const bool inZone = PointerInPanelZone();
    state.MenuOffset = inZone || state.PanelOpenedByKey ? OpenedMenu() : ClosedMenu();
    if (inZone) {
        UpdatePanelControls();
        return true;
    }
    TurnView();
    return false;
}

} // namespace game
