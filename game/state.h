// The view and panel values that the frame update keeps. All of it lives for the whole run;
// InitViewState and InitPanelState give it its start values.
#pragma once

#include <cstdint>

#include "rules/state.h"

namespace game {

extern rules::Cell HoverCell; // cell under the pointer; i = -1 for none
extern double StrengthSlider; // slider position 0..100

// Frame update: time, pointer, panel, slider, camera.
extern std::uint32_t LastTick; // tick of the previous update; 0 = none
extern std::int32_t FrameTime; // ms since the previous update
extern std::int32_t PointerX;  // pointer in the 1024 x 768 virtual screen, y upwards
extern std::int32_t PointerY;
extern std::int32_t MenuOffset;  // how far the panel is pulled in: 5 (closed) .. 200
extern bool HelpShown;           // the help picture covers the screen
extern bool SliderDragging;      // the strength knob is held
extern std::int32_t SliderDragX; // PointerX at the previous drag step
extern bool Rotating;            // the view is being turned with the right button
extern std::int32_t RotateAnchorX;
extern std::int32_t RotateAnchorY;
extern float CameraTilt; // degrees about X, -90..0 outside the panel zone
extern float CameraTurn; // degrees about the vertical axis

// Keyboard play: the cell cursor and the keys for the panel.
extern bool KeyboardInUse;       // the cell cursor, not the pointer, shows the preview
extern rules::Cell KeyCursor;    // the cell cursor's cell while the keyboard is in use
extern std::int32_t LastCursorX; // the cursor in screen pixels at the previous update,
extern std::int32_t LastCursorY; // to see the pointer move
extern bool PanelOpenedByKey;    // Tab holds the panel open

// Start values of the view and panel, set before the assets load.
void InitViewState();
// Start values of the frame clock and the strength slider, set with the game's.
void InitPanelState();

} // namespace game
