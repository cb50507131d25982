#include "tools/arena/match.h"

#include <chrono>

#include "rules/perfect.h"
#include "rules/rules.h"
#include "rules/state.h"

namespace arena {

GameResult PlayGame(const Player& player1, const Player& player2, std::int32_t firstPlayer) {
    // The perfect player's seat is a person's: its move goes in as a click on the cell.
    rules::state.SeatIsComputer = {false, !player1.perfect, !player2.perfect};
    rules::state.FirstPlayer = firstPlayer;
    rules::NewGame();
    GameResult result;
    // The game's frame order: a landing, then the next choice. Each landing fills a cell, so
    // this ends within 36 moves.
    for (;;) {
        const Player& player = rules::state.CurrentPlayer == 1 ? player1 : player2;
        if (player.perfect) {
            if (!rules::BoardHasEmptyCell()) break;
            rules::HumanChoice(
                true, rules::PerfectHint(rules::state.Board, rules::state.CurrentPlayer).cell);
        } else {
            rules::state.NoiseRange = player.noise;
            rules::ComputerChoice();
        }
        if (rules::state.MoveDelay == 0) break;
        rules::LandPendingMove(rules::kMoveDelayMs);
        ++result.moves;
        if (rules::state.GameOver) {
            result.winner = rules::state.CurrentPlayer;
            break;
        }
    }
    return result;
}

PairingResult PlayPairing(const Player& a, const Player& b, int games, const ProgressFn& progress) {
    PairingResult result;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 0; g < games; ++g) {
        const bool aBegins = g % 2 == 0;
        const GameResult game = PlayGame(a, b, aBegins ? 1 : 2);
        ++result.games;
        result.moves += game.moves;
        result.winsA += game.winner == 1;
        result.winsB += game.winner == 2;
        result.unfinished += game.winner == 0;
        result.gamesABegins += aBegins;
        result.winsAWhenABegins += aBegins && game.winner == 1;
        if (progress && g % 256 == 255) progress(g + 1);
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

} // namespace arena
