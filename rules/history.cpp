#include "rules/history.h"

#include "rules/rules.h"

namespace rules {

namespace {

std::size_t At(std::int32_t index) {
    return static_cast<std::size_t>(index);
}

// The winning move goes back: its square's pieces turn back to their own shades.
void UnmarkSquare() {
    for (std::uint8_t& cell : state.Board)
        if (cell == 3 || cell == 4) cell = static_cast<std::uint8_t>(cell - 2);
    const std::int32_t winner = state.Moves[At(state.MovesPlayed - 1)].player;
    if ((winner == 1 || winner == 2) && state.Wins[At(winner)] > 0) --state.Wins[At(winner)];
    state.GameOver = false;
}

} // namespace

Cell LastMove() {
    return state.MovesPlayed > 0 ? state.Moves[At(state.MovesPlayed - 1)].cell : Cell{};
}

bool UndoMove() {
    if (IsComputerSeat(1) && IsComputerSeat(2)) return false;
    bool changed = false;
    if (state.MoveDelay > 0) {
        const bool computersMove = IsComputerSeat(state.CurrentPlayer);
        state.MoveDelay = 0;
        state.PendingCell = Cell{};
        changed = true;
        // Dropping the computer's reply alone would only have it choose again at once.
        if (!computersMove) return true;
    }
    std::int32_t back = state.MovesPlayed - 1;
    while (back >= 0 && IsComputerSeat(state.Moves[At(back)].player))
        --back;
    if (back < 0) return changed;
    if (state.GameOver) UnmarkSquare();
    for (std::int32_t m = state.MovesPlayed - 1; m >= back; --m) {
        const Cell cell = state.Moves[At(m)].cell;
        BoardAt(cell.i, cell.j) = kEmpty;
    }
    state.MovesUndone += state.MovesPlayed - back;
    state.MovesPlayed = back;
    state.CurrentPlayer = state.Moves[At(back)].player;
    return true;
}

bool RedoMove() {
    if (state.GameOver || state.MoveDelay > 0) return false;
    bool changed = false;
    while (state.MovesUndone > 0 &&
           !(changed && (state.GameOver || !IsComputerSeat(state.CurrentPlayer)))) {
        const Move move = state.Moves[At(state.MovesPlayed)];
        const int cell = CellIndex(move.cell.i, move.cell.j);
        // Only a move that fits the board as it stands comes back.
        if (cell < 0 || state.Board[At(cell)] != kEmpty || move.player != state.CurrentPlayer) {
            state.MovesUndone = 0;
            break;
        }
        --state.MovesUndone;
        LandMove(move.cell);
        changed = true;
    }
    return changed;
}

} // namespace rules
