// Analysis mode: the computer's scores for one position, and the cell it takes.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tools/arena/options.h"

namespace arena {

// Six rows of six cells from texts in which '/' and white space separate rows.
std::array<std::uint8_t, 36> ParsePosition(const std::vector<std::string>& texts);

// Prints the score grid and the chosen cell for this position (and with a repeat, how
// often each cell is taken). The random generator is already seeded.
void RunAnalysis(const Options& options, const std::array<std::uint8_t, 36>& position,
                 std::ostream& out);

// A UsageError when the perfect player cannot be asked about the position: a square is
// already complete, so the game is over.
void CheckHintPosition(const std::array<std::uint8_t, 36>& position);
// Prints the perfect player's line for the position: "hint I,J win N", "hint I,J loss N",
// "hint I,J open", or "hint none open" when no cell is empty.
void PrintHint(const Options& options, const std::array<std::uint8_t, 36>& position,
               std::ostream& out);

} // namespace arena
