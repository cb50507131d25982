// The one place that decides whether the loop draws a frame or waits for the next event.
// Anything new that changes the picture by itself belongs in SomethingMoves; input of every
// kind (keys included) already wakes the loop through platform::InputSinceSwap.
#pragma once

namespace game {

// The picture changes with time alone: a falling piece, the pulse, the panel sliding, a key
// held, a drag, the computer about to choose its move, or the prompt of a first Esc, which
// goes by itself.
bool SomethingMoves();

// The next frame may differ from the last one drawn: something moves, or input that can
// change the picture has come in since it was drawn.
bool FrameWanted();

// The loop waited without drawing: the time it waited is no game time, so what starts moving
// in the next frame (the panel, a piece) starts from its beginning. That frame counts 1 ms.
void SkipWaitedTime();

} // namespace game
