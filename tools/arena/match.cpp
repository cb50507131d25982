#include "tools/arena/match.h"

#include <chrono>

#include "game/rules.h"
#include "game/state.h"

namespace arena {

GameResult PlayGame(std::int32_t noise1, std::int32_t noise2, std::int32_t firstPlayer) {
    game::SeatIsComputer = {false, true, true};
    game::FirstPlayer = firstPlayer;
    game::NewGame();
    GameResult result;
    // The game's frame order: a landing, then the next computer's choice. Each landing
    // fills a cell, so this ends within 36 moves.
    for (;;) {
        game::NoiseRange = game::CurrentPlayer == 1 ? noise1 : noise2;
        game::ComputerChoice();
        if (game::MoveDelay == 0) break;
        game::LandPendingMove(game::kMoveDelayMs);
        ++result.moves;
        if (game::GameOver) {
            result.winner = game::CurrentPlayer;
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
