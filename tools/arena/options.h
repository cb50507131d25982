// The arena's command line: which mode, which strengths, how many games.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace arena {

// A bad command line; the message says what is wrong.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class Mode { Help, Pairing, Matrix, Analysis };

// A side of a match: the computer at a slider position, or the perfect player.
struct Side {
    bool perfect = false;
    double slider = 0; // when not perfect
};

struct Options {
    Mode mode = Mode::Pairing;
    int games = 1000;                  // per pairing
    std::optional<std::uint64_t> seed; // none: from the clock
    bool quiet = false;                // no progress line
    Side sideA;                        // pairing: the side every B plays against
    std::vector<Side> sides;           // pairing: the B sides; matrix: rows and columns
    std::vector<std::string> rows;     // analysis: the position's arguments; empty = stdin
    std::optional<int> player;         // analysis: none = the side with fewer pieces
    std::optional<double> slider;      // analysis
    std::optional<std::int32_t> noise; // analysis: NoiseRange instead of a slider
    int repeat = 1;                    // analysis: choices to count
    bool hint = false;                 // analysis: the perfect player's move and its outcome
};

Options ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

} // namespace arena
