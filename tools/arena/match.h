// Games between two computer players, played through the game's own turn flow.
#pragma once

#include <cstdint>
#include <functional>

namespace arena {

struct GameResult {
    int winner = 0; // 1 or 2; 0 when the board filled without a square
    int moves = 0;  // pieces placed
};

// One game from an empty board; each player moves with its own NoiseRange.
GameResult PlayGame(std::int32_t noise1, std::int32_t noise2, std::int32_t firstPlayer);

struct PairingResult {
    int games = 0;
    int winsA = 0;
    int winsB = 0;
    int unfinished = 0;
    int winsAWhenABegins = 0;
    int gamesABegins = 0;
    long long moves = 0;
    double seconds = 0;
};

// Called now and then with the games played so far in this pairing.
using ProgressFn = std::function<void(int played)>;

// N games between side A (player 1) and side B (player 2); A begins the even-numbered ones.
PairingResult PlayPairing(std::int32_t noiseA, std::int32_t noiseB, int games,
                          const ProgressFn& progress);

} // namespace arena
