// The message box the platform layer draws itself, for desktops where SDL can show none
// (SDL's X11 box needs the server's core fonts, its Wayland box needs zenity). It is an
// ordinary window painted in software from compiled-in glyphs, so it needs neither GL nor
// any font from the system.
#pragma once

#include <string>

#include "platform/box/layout.h"

namespace platform {

// True when SDL's video driver shows windows on a desktop; the offscreen, dummy and
// console drivers it falls back to without one draw nowhere.
bool DriverReachesDesktop();

// The box for this text on the primary display.
BoxLayout FallbackBoxLayout(const std::string& text);

// Shows a modal box titled with the caption: the text, wrapped, and an OK button. Returns
// once Enter, Esc, a click on OK or closing the window dismisses it; false at once when no
// box could be shown. The SDL video subsystem must be running.
bool ShowFallbackBox(const std::string& caption, const std::string& text);

} // namespace platform
