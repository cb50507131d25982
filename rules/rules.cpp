#include "rules/rules.h"

#include <algorithm>

#include "rules/computer.h"

namespace rules {

namespace {

// True when every corner of the square lies on the board and holds this value.
bool SquareHeldBy(const Square& square, std::uint8_t value) {
    return std::all_of(square.begin(), square.end(), [value](const SquareCorner& c) {
        const int cell = CellIndex(c.i, c.j);
        return cell >= 0 && state.Board[static_cast<std::size_t>(cell)] == value;
    });
}

} // namespace

bool IsComputerSeat(std::int32_t player) {
    return player >= 1 && player <= 2 && state.SeatIsComputer[static_cast<std::size_t>(player)];
}

bool BoardHasEmptyCell() {
    return std::find(state.Board.begin(), state.Board.end(), kEmpty) != state.Board.end();
}

std::int32_t CheckWin() {
    for (int n = 0; n < kSquareCount; ++n) {
        const Square& square = state.SquareTable[static_cast<std::size_t>(n)];
        if (!SquareHeldBy(square, 1) && !SquareHeldBy(square, 2)) continue;
        for (const SquareCorner& c : square)
            state.Board[static_cast<std::size_t>(CellIndex(c.i, c.j))] += 2;
        state.Pulse = 0;
        state.PulseRising = true;
        return n + 1;
    }
    return -1;
}

void LandPendingMove(std::int32_t frameTime) {
    if (state.MoveDelay <= 0) return;
    // Time never runs backwards here; a negative frame time would only stall the move.
    state.MoveDelay -= std::clamp(frameTime, 0, state.MoveDelay);
    if (state.MoveDelay > 0) return;
    if (CellIndex(state.PendingCell.i, state.PendingCell.j) < 0) return;
    // A new move takes the place of whatever an undo took back.
    state.MovesUndone = 0;
    LandMove(state.PendingCell);
}

void LandMove(Cell move) {
    const int cell = CellIndex(move.i, move.j);
    if (cell < 0 || state.Board[static_cast<std::size_t>(cell)] != kEmpty) return;
    state.Board[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(state.CurrentPlayer);
    if (state.MovesPlayed < static_cast<std::int32_t>(state.Moves.size()))
        state.Moves[static_cast<std::size_t>(state.MovesPlayed++)] = {move, state.CurrentPlayer};
    if (CheckWin() == -1) {
        state.CurrentPlayer = state.CurrentPlayer == 1 ? 2 : 1;
    } else {
        state.GameOver = true;
        if (state.CurrentPlayer == 1 || state.CurrentPlayer == 2)
            ++state.Wins[static_cast<std::size_t>(state.CurrentPlayer)];
    }
}

bool ComputerToMove() {
    // A full board without a square has no move left: the game simply stands.
    return !state.GameOver && state.MoveDelay == 0 && IsComputerSeat(state.CurrentPlayer) &&
           BoardHasEmptyCell();
}

void ComputerChoice() {
    if (!ComputerToMove()) return;
    const Cell choice = ChooseComputerMove();
    if (CellIndex(choice.i, choice.j) < 0) return;
    state.PendingCell = choice;
    state.MoveDelay = kMoveDelayMs;
}

void HumanChoice(bool leftButtonDown, Cell hover) {
    if (state.GameOver || IsComputerSeat(state.CurrentPlayer) || !leftButtonDown) return;
    const int cell = CellIndex(hover.i, hover.j);
    if (cell < 0 || state.Board[static_cast<std::size_t>(cell)] != kEmpty) return;
    state.PendingCell = hover;
    state.MoveDelay = kMoveDelayMs;
}

void NewGame() {
    state.Board.fill(kEmpty);
    state.CurrentPlayer = state.FirstPlayer;
    state.GameOver = false;
    state.MoveDelay = 0;
    state.MovesPlayed = 0;
    state.MovesUndone = 0;
}

void ToggleSeat(std::int32_t player) {
    if (player < 1 || player > 2) return;
    bool& seat = state.SeatIsComputer[static_cast<std::size_t>(player)];
    seat = !seat;
    // The computer plays on from the board as it stands, not from the moves taken back.
    if (seat) state.MovesUndone = 0;
}

void SetFirstPlayer(std::int32_t player) {
    state.FirstPlayer = player;
}

void ToggleFirstPlayer() {
    state.FirstPlayer = state.FirstPlayer == 1 ? 2 : 1;
}

void AdvancePulse(std::int32_t frameTime) {
    if (state.PulseRising) {
        if (state.Pulse > 1000 - frameTime) {
            state.Pulse = 1000;
            state.PulseRising = false;
        } else {
            state.Pulse += frameTime;
        }
    } else {
        if (state.Pulse < frameTime) {
            state.Pulse = 0;
            state.PulseRising = true;
        } else {
            state.Pulse -= frameTime;
        }
    }
}

} // namespace rules
