// The perfect player's table: the answers to the early positions its search takes longest
// over, worked out beforehand by koravex-perfect-table (tools/perfect_table) into
// rules/perfect_table_data.h.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "rules/perfect.h"

namespace rules {

// Positions with more pieces than this are never looked up.
inline constexpr int kTablePieces = 5;

// A position as the side to move sees it, turned and mirrored to the least key of its eight
// images: bits 0..35 are the occupied cells, bit 36 + k is set when the k-th of them in cell
// order holds the other side's piece.
struct TableEntry {
    std::uint64_t key = 0;
    std::uint64_t answer = 0; // bits 0..35 every best move on the key's board, bits 36..37
                              // the Outcome, bits 40..47 Hint::moves
};

// A position's entry as the search finds it, and the positions it visited: more than any one
// answer visits, since every best move is looked for.
struct SearchedEntry {
    TableEntry entry;
    std::int64_t positions = 0;
};

// The key of a position; none when the game is over, the input is bad or more than
// kTablePieces pieces stand.
std::optional<std::uint64_t> PerfectTableKey(const std::array<std::uint8_t, 36>& board,
                                             std::int32_t player);

// The position's entry, from the search alone with every best move; none as for the key.
std::optional<SearchedEntry> SearchPerfectTableEntry(const std::array<std::uint8_t, 36>& board,
                                                     std::int32_t player);

// PerfectHint from the search alone, never the table: what the table is checked against.
Hint SearchPerfectHint(const std::array<std::uint8_t, 36>& board, std::int32_t player);

} // namespace rules
