// The game layer's state, all of it: what the assets loaded into, and the view and panel values
// that the frame update keeps. It lives for the whole run; ResetGameState gives all of it its
// start values, and only functions of this layer write it.
#pragma once

#include <cstdint>

#include "rules/state.h"

namespace game {

// Loaded assets (game/assets.cpp).
extern std::int32_t BoardObjectIndex; // the board mesh in engine::state.Objects
extern std::int32_t PieceObjectIndex; // the piece mesh in engine::state.Objects
extern std::uint32_t BoardList;       // display list of the board
extern std::uint32_t PieceList;       // display list of a piece

// Texture slots (-1 when the picture did not load).
extern std::int32_t TexWood;       // the board's surface
extern std::int32_t TexWood2;      // the pieces' surface
extern std::int32_t TexHelp;       // the help page
extern std::int32_t TexBackground; // the backdrop
extern std::int32_t TexMenuMark;   // the menu tab
extern std::int32_t TexMenu;       // the panel
extern std::int32_t TexComputer;   // seat button: computer
extern std::int32_t TexHuman;      // seat button: person
extern std::int32_t TexStrength;   // the strength knob
extern std::int32_t TexMark;       // marked first-player button
extern std::int32_t TexEmpty;      // unmarked first-player button
extern std::int32_t TexStatusFont; // the status line's glyphs (compiled in, not in the archive)

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
extern bool KeyboardInUse;           // the cell cursor, not the pointer, shows the preview
extern rules::Cell KeyCursor;        // the cell cursor's cell while the keyboard is in use
extern std::int32_t LastCursorX;     // the cursor in screen pixels at the previous update,
extern std::int32_t LastCursorY;     // to see the pointer move
extern bool PanelOpenedByKey;        // Tab holds the panel open
extern bool QuitPromptShown;         // a first Esc during a game asks for a second
extern std::uint32_t QuitPromptTick; // the tick of that first Esc
extern bool HintShown;               // the cell cursor flashes on the perfect player's move
extern std::uint32_t HintTick;       // the tick the hint was asked for

// Start values of every variable above: no assets, the view and panel as a run starts them.
void ResetGameState();

} // namespace game
