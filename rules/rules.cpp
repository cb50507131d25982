#include "rules/rules.h"

#include <algorithm>

#include "rules/computer.h"

namespace rules {

namespace {

// True when every corner of the square lies on the board and holds this value.
bool SquareHeldBy(const Square& square, std::uint8_t value) {
    return std::all_of(square.begin(), square.end(), [value](const SquareCorner& c) {
        const int cell = CellIndex(c.i, c.j);
        return cell >= 0 && Board[static_cast<std::size_t>(cell)] == value;
    });
}

} // namespace

bool IsComputerSeat(std::int32_t player) {
    return player >= 1 && player <= 2 && SeatIsComputer[static_cast<std::size_t>(player)];
}

bool BoardHasEmptyCell() {
    return std::find(Board.begin(), Board.end(), kEmpty) != Board.end();
}

std::int32_t CheckWin() {
    for (int n = 0; n < kSquareCount; ++n) {
        const Square& square = SquareTable[static_cast<std::size_t>(n)];
        if (!SquareHeldBy(square, 1) && !SquareHeldBy(square, 2)) continue;
        for (const SquareCorner& c : square)
            Board[static_cast<std::size_t>(CellIndex(c.i, c.j))] += 2;
        Pulse = 0;
        PulseRising = true;
        return n + 1;
    }
    return -1;
}

void LandPendingMove(std::int32_t frameTime) {
    if (MoveDelay <= 0) return;
    // Time never runs backwards here; a negative frame time would only stall the move.
    MoveDelay -= std::clamp(frameTime, 0, MoveDelay);
    if (MoveDelay > 0) return;
    if (CellIndex(PendingCell.i, PendingCell.j) < 0) return;
    // A new move takes the place of whatever an undo took back.
    MovesUndone = 0;
    LandMove(PendingCell);
}

void LandMove(Cell move) {
    const int cell = CellIndex(move.i, move.j);
    if (cell < 0 || Board[static_cast<std::size_t>(cell)] != kEmpty) return;
    Board[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(CurrentPlayer);
    if (MovesPlayed < static_cast<std::int32_t>(Moves.size()))
        Moves[static_cast<std::size_t>(MovesPlayed++)] = {move, CurrentPlayer};
    if (CheckWin() == -1) {
        CurrentPlayer = CurrentPlayer == 1 ? 2 : 1;
    } else {
        GameOver = true;
        if (CurrentPlayer == 1 || CurrentPlayer == 2)
            ++Wins[static_cast<std::size_t>(CurrentPlayer)];
    }
}

bool ComputerToMove() {
    // A full board without a square has no move left: the game simply stands.
    return !GameOver && MoveDelay == 0 && IsComputerSeat(CurrentPlayer) && BoardHasEmptyCell();
}

void ComputerChoice() {
    if (!ComputerToMove()) return;
    const Cell choice = ChooseComputerMove();
    if (CellIndex(choice.i, choice.j) < 0) return;
    PendingCell = choice;
    MoveDelay = kMoveDelayMs;
}

void HumanChoice(bool leftButtonDown, Cell hover) {
    if (GameOver || IsComputerSeat(CurrentPlayer) || !leftButtonDown) return;
    const int cell = CellIndex(hover.i, hover.j);
    if (cell < 0 || Board[static_cast<std::size_t>(cell)] != kEmpty) return;
    PendingCell = hover;
    MoveDelay = kMoveDelayMs;
}

void NewGame() {
    Board.fill(kEmpty);
    CurrentPlayer = FirstPlayer;
    GameOver = false;
    MoveDelay = 0;
    MovesPlayed = 0;
    MovesUndone = 0;
}

void ToggleSeat(std::int32_t player) {
    if (player < 1 || player > 2) return;
    bool& seat = SeatIsComputer[static_cast<std::size_t>(player)];
    seat = !seat;
    // The computer plays on from the board as it stands, not from the moves taken back.
    if (seat) MovesUndone = 0;
}

void SetFirstPlayer(std::int32_t player) {
    FirstPlayer = player;
}

void ToggleFirstPlayer() {
    FirstPlayer = FirstPlayer == 1 ? 2 : 1;
}

void AdvancePulse(std::int32_t frameTime) {
    if (PulseRising) {
        if (Pulse > 1000 - frameTime) {
            Pulse = 1000;
            PulseRising = false;
        } else {
            Pulse += frameTime;
        }
    } else {
        if (Pulse < frameTime) {
            Pulse = 0;
            PulseRising = true;
        } else {
            Pulse -= frameTime;
        }
    }
}

} // namespace rules
