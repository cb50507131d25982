// The slide-out panel on the right edge: its zone, its controls in the virtual
// screen, the strength slider, and the turning of the view outside the zone.
#pragma once

#include "game/panel_layout.h"
#include "render/frame_view.h"

namespace game {

using ScreenRect = render::ScreenRect;

// A panel control's rectangle for a panel whose left edge is at x = left.
ScreenRect PanelRect(const panel::Rect& rect, int left);
// The strength knob for the current StrengthSlider, for a panel whose left edge is at x = left.
ScreenRect KnobRect(int left);
// The panel's left edge as the controls are tested: 1024 - MenuOffset.
int PanelLeft();

// Inclusive point-in-rectangle test: the point, then the lower and the upper corner.
bool PointInRect(double px, double py, double x1, double y1, double x2, double y2);
// Whether (PointerX, PointerY) lies in the rectangle.
bool PointerIn(const ScreenRect& rect);
// Whether the left button is down with the pointer on a panel control.
bool LeftPressedOn(const panel::Rect& rect, int left);
// Whether the pointer keeps the panel open: right of its left edge, or on the tab.
bool PointerInPanelZone();

// The panel is on its way open, with the pointer in its zone, or on its way closed, without.
bool PanelSliding();

// Holds the frame until the left button is up, so a control acts once per press; gives up at
// once when a signal asks the game to end (base::QuitRequested).
void WaitForLeftRelease();

// Slides the panel open while the pointer is in its zone or Tab holds it, and runs its
// controls while the pointer is in the zone; outside it, turns the view by right-drag and
// clamps the tilt. True when in the zone.
bool UpdatePanel();

} // namespace game
