// Taking moves back and putting them back again, and the move that landed last.
#pragma once

#include "rules/state.h"

namespace rules {

// The cell of the move that landed last in this game; i = -1 before the first.
Cell LastMove();

// Takes back the moves since the last position at which a person was to move: one move between
// two persons, the computer's reply and the person's move against the computer. A move still
// falling is dropped first; a person's own falling move is all one undo takes. Nothing when no
// seat is a person's or no such position came before. Seats, strength and first player stay.
// True when the game changed.
bool UndoMove();

// Puts back what the last undo took, at once, until a person is to move or the game is won
// again; nothing while a move falls or once a new move has landed. True when the game changed.
bool RedoMove();

} // namespace rules
