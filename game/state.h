// The game layer's state, all of it: what the assets loaded into, and the view and panel values
// that the frame update keeps. It lives for the whole run; ResetGameState gives all of it its
// start values, and only functions of this layer write it.
#pragma once

#include <cstdint>

#include "rules/state.h"

namespace game {

struct State {
    // Loaded assets (game/assets.cpp).
    std::int32_t BoardObjectIndex = -1; // the board mesh in engine::state.Objects
    std::int32_t PieceObjectIndex = -1; // the piece mesh in engine::state.Objects
    std::uint32_t BoardList = 0;        // display list of the board
    std::uint32_t PieceList = 0;        // display list of a piece

    // Texture slots (-1 when the picture did not load).
    std::int32_t TexWood = -1;       // the board's surface
    std::int32_t TexWood2 = -1;      // the pieces' surface
    std::int32_t TexHelp = -1;       // the help page
    std::int32_t TexBackground = -1; // the backdrop
    std::int32_t TexMenuMark = -1;   // the menu tab
    std::int32_t TexMenu = -1;       // the panel
    std::int32_t TexComputer = -1;   // seat button: computer
    std::int32_t TexHuman = -1;      // seat button: person
    std::int32_t TexStrength = -1;   // the strength knob
    std::int32_t TexMark = -1;       // marked first-player button
    std::int32_t TexEmpty = -1;      // unmarked first-player button
    std::int32_t TexStatusFont = -1; // the status line's glyphs (compiled in, not in the archive)

    rules::Cell HoverCell;        // cell under the pointer; i = -1 for none
    double StrengthSlider = 50.0; // slider position 0..100

    // Frame update: time, pointer, panel, slider, camera.
    std::uint32_t LastTick = 0; // tick of the previous update; 0 = none
    std::int32_t FrameTime = 0; // ms since the previous update
    std::int32_t PointerX = 0;  // pointer in the 1024 x 768 virtual screen, y upwards
    std::int32_t PointerY = 0;
    std::int32_t MenuOffset = 5;  // how far the panel is pulled in: 5 (closed) .. 200
    bool HelpShown = false;       // the help picture covers the screen
    bool SliderDragging = false;  // the strength knob is held
    std::int32_t SliderDragX = 0; // PointerX at the previous drag step
    bool Rotating = false;        // the view is being turned with the right button
    std::int32_t RotateAnchorX = 0;
    std::int32_t RotateAnchorY = 0;
    float CameraTilt = -45.0f; // degrees about X, -90..0 outside the panel zone
    float CameraTurn = 45.0f;  // degrees about the vertical axis

    // Keyboard play: the cell cursor and the keys for the panel.
    bool KeyboardInUse = false;       // the cell cursor, not the pointer, shows the preview
    rules::Cell KeyCursor;            // the cell cursor's cell while the keyboard is in use
    std::int32_t LastCursorX = 0;     // the cursor in screen pixels at the previous update,
    std::int32_t LastCursorY = 0;     // to see the pointer move
    bool PanelOpenedByKey = false;    // Tab holds the panel open
    bool QuitPromptShown = false;     // a first Esc during a game asks for a second
    std::uint32_t QuitPromptTick = 0; // the tick of that first Esc
    bool HintShown = false;           // the cell cursor flashes on the perfect player's move
    std::uint32_t HintTick = 0;       // the tick the hint was asked for
};
extern State state;

// Start values of every member: no assets, the view and panel as a run starts them.
void ResetGameState();

} // namespace game
