// The game's own scene, drawn with its own assets, in the states the reference frames and the
// frame benchmark draw.
#pragma once

#include <cstdint>
#include <utility>

#include "game/assets.h"
#include "game/state.h"
#include "render/view.h"
#include "rules/state.h"

namespace kxtest {

// What the start-up does once the window's context is current, without the shell: the game and
// rules layers at their start values, the scene's GL state for a client of this size, and the
// assets loaded from the archive the workspace set-up found.
inline void LoadTheGame(int width, int height) {
    game::ResetGameState();
    rules::ResetRulesState();
    render::SetUpGlState(width, height);
    game::LoadAssets();
}

// The start of a game: no pieces, nothing falling, the pointer off the board, the panel closed.
inline void EmptyBoard() {
    rules::state.Board.fill(0);
    game::state.HoverCell = {};
    rules::state.MoveDelay = 0;
    game::state.MenuOffset = 5;
    game::state.HelpShown = false;
}

// The move that landed last, ringed, as a game's moves leave it.
inline void LastMoveAt(rules::Cell cell) {
    rules::state.Moves[0] = {cell, 1};
    rules::state.MovesPlayed = 1;
}

// Every cell taken, a won square half way through its pulse, the preview over a piece and the
// panel pulled fully out.
inline void FillTheBoardAndOpenThePanel() {
    for (int n = 0; n < 36; ++n)
        rules::state.Board[n] = static_cast<std::uint8_t>((n + n / 6) % 2 + 1);
    for (const auto& [i, j] : {std::pair{1, 1}, {1, 3}, {3, 1}, {3, 3}})
        rules::BoardAt(i, j) = static_cast<std::uint8_t>(rules::BoardAt(i, j) + 2);
    rules::state.Pulse = 500;
    game::state.HoverCell = {4, 4};
    game::state.MenuOffset = 200;
}

// Nine pieces: the square player 1 won, and five of player 2's, the last move ringed.
inline void WonSquareAmongNinePieces() {
    for (const auto& [i, j] : {std::pair{2, 2}, {2, 5}, {5, 2}, {5, 5}})
        rules::BoardAt(i, j) = 3;
    for (const auto& [i, j] : {std::pair{1, 1}, {3, 4}, {4, 3}, {6, 6}, {1, 6}})
        rules::BoardAt(i, j) = 2;
    LastMoveAt({5, 5});
}

} // namespace kxtest
