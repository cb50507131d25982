#include "game/panel.h"

#include <algorithm>
#include <cstdint>

#include "base/way_out.h"
#include "game/frame.h"
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

    if (!platform::LeftButtonDown()) SliderDragging = false;
    if (SliderDragging) {
        // Widened first: the pointer is not clamped and may lie far off the screen.
        const double moved = static_cast<double>(PointerX) - static_cast<double>(SliderDragX);
        StrengthSlider += moved * 100 / panel::kTrackLength;
        SliderDragX = PointerX;
    }
    StrengthSlider = std::clamp(StrengthSlider, 0.0, 100.0);
    rules::SetStrength(StrengthSlider);
    if (platform::LeftButtonDown() && PointerIn(KnobRect(left))) {
        SliderDragging = true;
        SliderDragX = PointerX;
    }
}

void TurnView() {
    if (!platform::RightButtonDown()) {
        Rotating = false;
        platform::SetCursor(platform::Cursor::Arrow);
    }
    if (Rotating) {
        const double dy = static_cast<double>(RotateAnchorY) - static_cast<double>(PointerY);
        const double dx = static_cast<double>(PointerX) - static_cast<double>(RotateAnchorX);
        CameraTilt = static_cast<float>(CameraTilt + dy / 3);
        CameraTurn = static_cast<float>(CameraTurn + dx / 3);
    }
    if (platform::RightButtonDown()) {
        Rotating = true;
        RotateAnchorX = PointerX;
        RotateAnchorY = PointerY;
        platform::SetCursor(platform::Cursor::SizeAll);
    }
    CameraTilt = std::clamp(CameraTilt, -90.0f, 0.0f);
}

// Widened so that a long frame cannot overflow the offset.
std::int32_t OpenedMenu() {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{MenuOffset} + FrameTime, kMenuOpen));
}

std::int32_t ClosedMenu() {
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(std::int64_t{MenuOffset} - FrameTime, kMenuClosed));
}

} // namespace

ScreenRect PanelRect(const panel::Rect& rect, int left) {
    return {static_cast<double>(left + rect.x1), static_cast<double>(rect.y1),
            static_cast<double>(left + rect.x2), static_cast<double>(rect.y2)};
}

ScreenRect KnobRect(int left) {
    const double centre = panel::kTrackLength * StrengthSlider / 100 + left + panel::kTrackX0;
    return {centre - panel::kKnobHalfWidth, static_cast<double>(panel::kTrackY1),
            centre + panel::kKnobHalfWidth, static_cast<double>(panel::kTrackY2)};
}

int PanelLeft() {
    return 1024 - MenuOffset;
}

bool PointerIn(const ScreenRect& rect) {
    return PointInRect(PointerX, PointerY, rect.x1, rect.y1, rect.x2, rect.y2);
}

bool LeftPressedOn(const panel::Rect& rect, int left) {
    return platform::LeftButtonDown() && PointerIn(PanelRect(rect, left));
}

bool PointerInPanelZone() {
    const panel::Rect& tab = panel::kTab;
    return PointerX > PanelLeft() ||
           PointInRect(PointerX, PointerY, tab.x1, tab.y1, tab.x2, tab.y2);
}

bool PanelSliding() {
    return PointerInPanelZone() ? MenuOffset < kMenuOpen : MenuOffset > kMenuClosed;
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
    MenuOffset = inZone || PanelOpenedByKey ? OpenedMenu() : ClosedMenu();
    if (inZone) {
        UpdatePanelControls();
        return true;
    }
    TurnView();
    return false;
}

} // namespace game
