// koravex-perfect-table: the perfect player's answers to the early positions its search takes
// longest over, as the C++ header rules/perfect_table_data.h.
//   koravex-perfect-table FILE           writes the table to FILE
//   koravex-perfect-table --check FILE   exits 1 unless FILE holds the table the search gives now
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "rules/perfect_table.h"
#include "rules/squares.h"
#include "rules/state.h"

namespace {

using Board = std::array<std::uint8_t, 36>;

// A position goes in the table when the search visits more positions than this for any image
// of it: about two milliseconds.
constexpr std::int64_t kSlowPositions = 12000;
// Every image is searched alike but breaks ties in its own order, on which the search's cost
// depends: in every position measured no image cost more than twice the first, so those whose
// first costs less than this are left out at once.
constexpr std::int64_t kSlowCandidate = kSlowPositions / 3;

// Which positions are searched, by the side to move's pieces and the other side's: every split
// of up to four pieces, for analyses ask about those too; of five, those a game reaches.
std::vector<std::array<int, 2>> Splits() {
    std::vector<std::array<int, 2>> splits;
    for (int pieces = 0; pieces <= 4; ++pieces)
        for (int mine = 0; mine <= pieces; ++mine)
            splits.push_back({mine, pieces - mine});
    splits.push_back({2, 3});
    return splits;
}

// Calls `fn` with every board holding `mine` pieces of player 1 and `theirs` of player 2.
template <typename Fn> void ForEachBoard(int mine, int theirs, Fn fn) {
    Board board{};
    const auto place = [&](auto& self, int left, int from, std::uint8_t piece, auto next) {
        if (left == 0) {
            next();
            return;
        }
        for (int cell = from; cell < 36; ++cell) {
            if (board[static_cast<std::size_t>(cell)] != 0) continue;
            board[static_cast<std::size_t>(cell)] = piece;
            self(self, left - 1, cell + 1, piece, next);
            board[static_cast<std::size_t>(cell)] = 0;
        }
    };
    place(place, mine, 0, 1, [&] { place(place, theirs, 0, 2, [&] { fn(board); }); });
}

// The most positions the search visits for a turn or mirror image of the board.
std::int64_t MostPositions(const Board& board) {
    std::int64_t most = 0;
    for (int transform = 0; transform < 8; ++transform) {
        Board image{};
        for (int cell = 0; cell < 36; ++cell) {
            int i = cell / 6;
            int j = cell % 6;
            if ((transform & 1) != 0) i = 5 - i;
            if ((transform & 2) != 0) j = 5 - j;
            if ((transform & 4) != 0) std::swap(i, j);
            image[static_cast<std::size_t>(i * 6 + j)] = board[static_cast<std::size_t>(cell)];
        }
        most = std::max(most, rules::SearchPerfectHint(image, 1).positions);
    }
    return most;
}

std::string Table() {
    std::vector<rules::TableEntry> entries;
    std::unordered_set<std::uint64_t> seen;
    for (const auto& [mine, theirs] : Splits())
        ForEachBoard(mine, theirs, [&](const Board& board) {
            const std::optional<std::uint64_t> key = rules::PerfectTableKey(board, 1);
            if (!key || !seen.insert(*key).second) return;
            if (rules::SearchPerfectHint(board, 1).positions <= kSlowCandidate ||
                MostPositions(board) <= kSlowPositions)
                return;
            entries.push_back(rules::SearchPerfectTableEntry(board, 1)->entry);
        });
    std::sort(entries.begin(), entries.end(),
              [](const rules::TableEntry& a, const rules::TableEntry& b) { return a.key < b.key; });

    std::ostringstream out;
    out << "// Written by koravex-perfect-table (tools/perfect_table), anew after any change to "
           "the\n"
           "// search; do not edit. The "
        << entries.size() << " positions of " << seen.size()
        << " searched whose search visits\n// more than " << kSlowPositions
        << " positions for an image of them, keyed as TableEntry says.\n"
           "#pragma once\n\n#include <array>\n\n#include \"rules/perfect_table.h\"\n\n"
           "namespace rules {\n\n// clang-format off\ninline constexpr std::array<TableEntry, "
        << entries.size() << "> kPerfectTable = {{\n";
    for (std::size_t n = 0; n < entries.size(); ++n) {
        char text[48];
        std::snprintf(text, sizeof text, "{0x%llx, 0x%llx},",
                      static_cast<unsigned long long>(entries[n].key),
                      static_cast<unsigned long long>(entries[n].answer));
        out << (n % 3 == 0 ? "" : " ") << text
            << (n % 3 == 2 || n + 1 == entries.size() ? "\n" : "");
    }
    out << "}};\n// clang-format on\n\n} // namespace rules\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool check = args.size() == 2 && args[0] == "--check";
    if (args.size() != 1 + (check ? 1u : 0u) || args.back().starts_with("-")) {
        std::cerr << "usage: koravex-perfect-table [--check] FILE\n";
        return 2;
    }
    const std::string& path = args.back();
    // The file to compare with is read before the minutes of searching.
    std::string committed;
    if (check) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "koravex-perfect-table: cannot read " << path << '\n';
            return 1;
        }
        committed.assign(std::istreambuf_iterator<char>(in), {});
    }
    rules::ResetRulesState();
    rules::state.SquareTable = rules::DeriveSquares();
    const std::string table = Table();
    if (check) {
        if (committed == table) return 0;
        std::cerr << path << " is not the table the search gives now: write it anew with\n"
                  << "  koravex-perfect-table " << path << '\n';
        return 1;
    }
    // Written beside it first, so that a failed write leaves the old table whole.
    const std::string written = path + ".new";
    std::ofstream out(written, std::ios::binary);
    out << table;
    out.close();
    std::error_code error;
    if (out) std::filesystem::rename(written, path, error);
    if (!out || error) {
        std::cerr << "koravex-perfect-table: cannot write " << path << '\n';
        std::filesystem::remove(written, error);
        return 1;
    }
    return 0;
}
