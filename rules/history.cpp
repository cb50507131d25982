#include "rules/history.h"

#include "rules/rules.h"

namespace rules {

namespace {

std::size_t At(std::int32_t index) {
    return static_cast<std::size_t>(index);
}

// The winning move goes back: its square's pieces turn back to their own shades.
void UnmarkSquare() {
    for (std::uint8_t& cell : Board)
        if (cell == 3 || cell == 4) cell = static_cast<std::uint8_t>(cell - 2);
    const std::int32_t winner = Moves[At(MovesPlayed - 1)].player;
    if ((winner == 1 || winner == 2) && Wins[At(winner)] > 0) --Wins[At(winner)];
    GameOver = false;
}

} // namespace

Cell LastMove() {
    return MovesPlayed > 0 ? Moves[At(MovesPlayed - 1)].cell : Cell{};
}

bool UndoMove() {
    if (IsComputerSeat(1) && IsComputerSeat(2)) return false;
    bool changed = false;
    if (MoveDelay > 0) {
        const bool computersMove = IsComputerSeat(CurrentPlayer);
        MoveDelay = 0;
        PendingCell = Cell{};
        changed = true;
        // Dropping the computer's reply alone would only have it choose again at once.
        if (!computersMove) return true;
    }
    std::int32_t back = MovesPlayed - 1;
    while (back >= 0 && IsComputerSeat(Moves[At(back)].player))
        --back;
    if (back < 0) return changed;
    if (GameOver) UnmarkSquare();
    for (std::int32_t m = MovesPlayed - 1; m >= back; --m) {
        const Cell cell = Moves[At(m)].cell;
        BoardAt(cell.i, cell.j) = kEmpty;
    }
    MovesUndone += MovesPlayed - back;
    MovesPlayed = back;
    CurrentPlayer = Moves[At(back)].player;
    return true;
}

bool RedoMove() {
    if (GameOver || MoveDelay > 0) return false;
    bool changed = false;
    while (MovesUndone > 0 && !(changed && (GameOver || !IsComputerSeat(CurrentPlayer)))) {
        const Move move = Moves[At(MovesPlayed)];
        const int cell = CellIndex(move.cell.i, move.cell.j);
        // Only a move that fits the board as it stands comes back.
        if (cell < 0 || Board[At(cell)] != kEmpty || move.player != CurrentPlayer) {
            MovesUndone = 0;
            break;
        }
        --MovesUndone;
        LandMove(move.cell);
        changed = true;
    }
    return changed;
}

} // namespace rules
