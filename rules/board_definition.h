// The board definition: one winning square per line, four corners of five characters each, the
// digits i and j in the second and fourth place of each corner.
#pragma once

#include <cstdint>
#include <span>

#include "rules/state.h"

namespace rules {

// The largest board definition loaded, far above the game's 2.2 KB: a larger one is damage.
inline constexpr std::int32_t kMaxBoardDefinitionBytes = 64 * 1024;

// The 105 squares of a board definition's text. base::ConvertFailure naming the character
// when a digit place holds anything but 1..6; past the end every character reads as 26.
std::array<Square, kSquareCount> ParseBoardDefinition(std::span<const std::uint8_t> text);
// Makes a board definition's squares the game's SquareTable, which stays as it was when the
// text does not parse.
void UseBoardDefinition(std::span<const std::uint8_t> text);

} // namespace rules
