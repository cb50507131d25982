#include "tools/arena/match.h"

#include <chrono>

#include "rules/rules.h"
#include "rules/state.h"

namespace arena {

GameResult PlayGame(std::int32_t noise1, std::int32_t noise2, std::int32_t firstPlayer) {
    rules::SeatIsComputer = {false, true, true};
    rules::FirstPlayer = firstPlayer;
    rules::NewGame();
    GameResult result;
    // The game's frame order: a landing, then the next computer's choice. Each landing
    // fills a cell, so this ends within 36 moves.
    for (;;) {
        rules::NoiseRange = rules::CurrentPlayer == 1 ? noise1 : noise2;
        rules::ComputerChoice();
        if (rules::MoveDelay == 0) break;
        rules::LandPendingMove(rules::kMoveDelayMs);
        ++result.moves;
        if (rules::GameOver) {
            result.winner = rules::CurrentPlayer;
            break;
        }
    }
    return result;
}

PairingResult PlayPairing(std::int32_t noiseA, std::int32_t noiseB, int games,
                          const ProgressFn& progress) {
    PairingResult result;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 0; g < games; ++g) {
        const bool aBegins = g % 2 == 0;
        const GameResult game = PlayGame(noiseA, noiseB, aBegins ? 1 : 2);
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
