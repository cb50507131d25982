// Games between two computer players, played through the game's own turn flow.
#pragma once

#include <cstdint>
#include <functional>

namespace arena {

// A player of a match: the computer with its NoiseRange, or the perfect player.
struct Player {
    bool perfect = false;
    std::int32_t noise = 0; // when not perfect
};

struct GameResult {
    int winner = 0; // 1 or 2; 0 when the board filled without a square
    int moves = 0;  // pieces placed
};

// One game from an empty board, player 1 and player 2 as given.
GameResult PlayGame(const Player& player1, const Player& player2, std::int32_t firstPlayer);

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
PairingResult PlayPairing(const Player& a, const Player& b, int games, const ProgressFn& progress);

} // namespace arena
