// Play without a mouse: the cell cursor that W A S D and the keypad move, and the keys that
// act as the panel's buttons.
#pragma once

#include "rules/state.h"

namespace game {

// How long the cell cursor flashes on a hint, and each of its flashes.
inline constexpr std::uint32_t kHintMs = 2000;
inline constexpr std::uint32_t kHintFlashMs = 250;

// Screen directions, clockwise from up.
enum class Direction { Up, Right, Down, Left };

// The neighbour of `cell` in a screen direction with the board turned by `turn` degrees: up is
// the neighbour farthest from the viewer. At the board's edge the cell itself.
rules::Cell StepCell(rules::Cell cell, Direction direction, float turn);

// What the key presses of an update ask of its later steps.
struct KeyRequests {
    bool place = false;   // Enter or Space: a piece on KeyCursor, as a click would
    bool newGame = false; // N, as the new-game button
    bool quit = false;    // Esc, at once or as the second within kQuitPromptMs
};

// Acts on the key presses since the last update, in the order they came. While the help page
// is shown a press of any key only closes it. Esc quits at once, but during a game with pieces
// on the board the first press shows a prompt and only a second one within its time quits.
KeyRequests HandleKeyPresses();

// The hint's flash ends when its time is up or its move can no longer be played from the keys.
void EndHintWhenDone();

} // namespace game
