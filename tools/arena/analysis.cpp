#include "tools/arena/analysis.h"

#include <algorithm>
#include <cstdio>

#include "rules/computer.h"
#include "rules/perfect.h"
#include "rules/rules.h"
#include "rules/state.h"

namespace arena {

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string CellName(int i, int j) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d)", i, j);
    return text;
}

// A grid of 36 cells with row and column headings; `cell` gives each entry's text.
template <typename CellText> void PrintGrid(std::ostream& out, CellText cell) {
    out << "      ";
    for (int j = 1; j <= 6; ++j)
        out << "        j=" << j << ' ';
    out << '\n';
    for (int i = 1; i <= 6; ++i) {
        out << "  i=" << i << ' ';
        for (int j = 1; j <= 6; ++j)
            out << cell(i, j);
        out << '\n';
    }
}

std::string PieceText(std::uint8_t value) {
    return "        [" + std::to_string(value) + "] ";
}

// The player asked for, else the side with fewer pieces (player 1 when both have as many).
std::int32_t PlayerToMove(const Options& options, const std::array<std::uint8_t, 36>& position) {
    const auto ones = std::count(position.begin(), position.end(), 1);
    const auto twos = std::count(position.begin(), position.end(), 2);
    return options.player.value_or(twos < ones ? 2 : 1);
}

} // namespace

std::array<std::uint8_t, 36> ParsePosition(const std::vector<std::string>& texts) {
    std::vector<std::string> rows;
    for (const std::string& text : texts) {
        std::string row;
        for (const char c : text + '/') {
            if (c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                if (!row.empty()) rows.push_back(row);
                row.clear();
                if (rows.size() > 6) throw UsageError("a position has six rows, not more");
            } else {
                row += c;
                if (row.size() > 6)
                    throw UsageError("row " + std::to_string(rows.size() + 1) +
                                     " has more than six cells");
            }
        }
    }
    if (rows.size() != 6)
        throw UsageError("a position has six rows of six cells; found " +
                         std::to_string(rows.size()) + " rows");
    std::array<std::uint8_t, 36> board{};
    for (std::size_t i = 0; i < 6; ++i) {
        if (rows[i].size() != 6)
            throw UsageError("row " + std::to_string(i + 1) + " has " +
                             std::to_string(rows[i].size()) + " cells, not six");
        for (std::size_t j = 0; j < 6; ++j) {
            const char c = rows[i][j];
            if (c != '.' && c != '1' && c != '2') {
                char shown[8];
                std::snprintf(shown, sizeof shown, c >= 32 && c < 127 ? "%c" : "\\x%02x",
                              static_cast<unsigned char>(c));
                throw UsageError("row " + std::to_string(i + 1) + ", cell " +
                                 std::to_string(j + 1) + ": '" + shown +
                                 "' is not '.', '1' or '2'");
            }
            board[i * 6 + j] = c == '.' ? 0 : static_cast<std::uint8_t>(c - '0');
        }
    }
    return board;
}

void RunAnalysis(const Options& options, const std::array<std::uint8_t, 36>& position,
                 std::ostream& out) {
    rules::state.Board = position;
    rules::state.CurrentPlayer = PlayerToMove(options, position);
    if (options.noise) {
        rules::state.NoiseRange = *options.noise;
        out << "Player " << rules::state.CurrentPlayer << " to move, NoiseRange "
            << rules::state.NoiseRange << "\n";
    } else {
        const double slider = options.slider.value_or(50.0);
        rules::state.NoiseRange = rules::NoiseRangeForSlider(slider);
        out << "Player " << rules::state.CurrentPlayer << " to move, slider " << slider
            << " (NoiseRange " << rules::state.NoiseRange << ")\n";
    }

    const std::int32_t held = rules::CheckWin();
    rules::state.Board = position;
    if (held > 0)
        out << "Note: square " << held << " is already complete; the game would be over.\n";

    const rules::ScoreGrid scores = rules::ScoreCells();
    const rules::Cell chosen = rules::PickBestCell(scores);
    out << "\nScores (occupied cells show their piece, * the chosen cell):\n";
    PrintGrid(out, [&](int i, int j) {
        const std::size_t cell = static_cast<std::size_t>(rules::CellIndex(i, j));
        if (position[cell] != rules::kEmpty) return PieceText(position[cell]);
        const bool mark = chosen.i == i && chosen.j == j;
        return Format("%11.3f", scores[cell]) + (mark ? "*" : " ");
    });
    if (chosen.i == -1) {
        out << "\nNo empty cell: the computer has no move, and the game stands.\n";
        return;
    }
    double best = -1.0;
    for (std::size_t cell = 0; cell < scores.size(); ++cell)
        if (position[cell] == rules::kEmpty) best = std::max(best, scores[cell]);
    out << "\nBest score " << Format("%.3f", best) << " at";
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            if (scores[static_cast<std::size_t>(rules::CellIndex(i, j))] == best)
                out << ' ' << CellName(i, j);
    out << "\nChosen cell: " << CellName(chosen.i, chosen.j) << "\n";

    if (options.repeat <= 1) return;
    std::array<int, 36> taken{};
    ++taken[static_cast<std::size_t>(rules::CellIndex(chosen.i, chosen.j))];
    for (int run = 1; run < options.repeat; ++run) {
        const rules::Cell cell = rules::ChooseComputerMove();
        ++taken[static_cast<std::size_t>(rules::CellIndex(cell.i, cell.j))];
    }
    out << "\nCells taken over " << options.repeat << " choices, in percent:\n";
    PrintGrid(out, [&](int i, int j) {
        const std::size_t cell = static_cast<std::size_t>(rules::CellIndex(i, j));
        if (position[cell] != rules::kEmpty) return PieceText(position[cell]);
        return Format("%11.2f ", 100.0 * taken[cell] / options.repeat);
    });
}

void CheckHintPosition(const std::array<std::uint8_t, 36>& position) {
    rules::state.Board = position;
    const std::int32_t held = rules::CheckWin();
    rules::state.Board = position;
    if (held > 0)
        throw UsageError("square " + std::to_string(held) +
                         " of the position is already complete: the game is over, and there is "
                         "no move to hint");
}

void PrintHint(const Options& options, const std::array<std::uint8_t, 36>& position,
               std::ostream& out) {
    const rules::Hint hint = rules::PerfectHint(position, PlayerToMove(options, position));
    if (hint.cell.i == -1) {
        out << "hint none open\n";
        return;
    }
    out << "hint " << hint.cell.i << ',' << hint.cell.j;
    switch (hint.outcome) {
    case rules::Outcome::Win:
        out << " win " << hint.moves << '\n';
        break;
    case rules::Outcome::Loss:
        out << " loss " << hint.moves << '\n';
        break;
    case rules::Outcome::Open:
        out << " open\n";
        break;
    }
}

} // namespace arena
