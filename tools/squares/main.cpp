// koravex-squares: writes "negyzetek.dat", one winning square per line as (i,j) four times.
// The derived list is checked against a brute-force search before anything is written.
#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <string>

#include "rules/squares.h"

namespace {

using CornerSet = std::array<std::pair<int, int>, 4>;

CornerSet Sorted(const rules::Square& square) {
    CornerSet corners;
    for (int c = 0; c < 4; ++c)
        corners[c] = {square[c].i, square[c].j};
    std::sort(corners.begin(), corners.end());
    return corners;
}

bool OnBoard(int i, int j) {
    return i >= 1 && i <= 6 && j >= 1 && j <= 6;
}

// Corners go round: each side is the previous one turned by a right angle, all of equal length.
bool IsTrueSquare(const rules::Square& square) {
    for (const auto& corner : square)
        if (!OnBoard(corner.i, corner.j)) return false;
    const int di = square[1].i - square[0].i;
    const int dj = square[1].j - square[0].j;
    if (di == 0 && dj == 0) return false;
    int turnedI = di;
    int turnedJ = dj;
    for (int c = 1; c <= 4; ++c) {
        const auto& from = square[c - 1];
        const auto& to = square[c % 4];
        if (to.i - from.i != turnedI || to.j - from.j != turnedJ) return false;
        const int nextI = -turnedJ;
        turnedJ = turnedI;
        turnedI = nextI;
    }
    return true;
}

// Every four cells of the board that form a square, found by trying every first side.
std::set<CornerSet> AllGridSquares() {
    std::set<CornerSet> found;
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            for (int di = -5; di <= 5; ++di)
                for (int dj = -5; dj <= 5; ++dj) {
                    if (di == 0 && dj == 0) continue;
                    const int ci[4] = {i, i + di, i + di - dj, i - dj};
                    const int cj[4] = {j, j + dj, j + dj + di, j + di};
                    rules::Square square;
                    bool inside = true;
                    for (int c = 0; c < 4; ++c) {
                        inside = inside && OnBoard(ci[c], cj[c]);
                        square[c] = {static_cast<std::uint8_t>(ci[c]),
                                     static_cast<std::uint8_t>(cj[c])};
                    }
                    if (inside) found.insert(Sorted(square));
                }
    return found;
}

bool Check(const std::array<rules::Square, rules::kSquareCount>& squares) {
    std::set<CornerSet> derived;
    for (std::size_t k = 0; k < squares.size(); ++k) {
        if (!IsTrueSquare(squares[k])) {
            std::fprintf(stderr, "koravex-squares: square %zu is not a square of the board\n",
                         k + 1);
            return false;
        }
        if (!derived.insert(Sorted(squares[k])).second) {
            std::fprintf(stderr, "koravex-squares: square %zu is listed twice\n", k + 1);
            return false;
        }
    }
    const auto all = AllGridSquares();
    if (all != derived) {
        std::fprintf(stderr, "koravex-squares: the board has %zu squares, the list %zu of them\n",
                     all.size(), derived.size());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::puts("usage: koravex-squares OUTPUT\n"
                  "  writes the board definition with the board's 105 squares, one per line");
        return 0;
    }
    if (argc != 2) {
        std::fputs("usage: koravex-squares OUTPUT\n", stderr);
        return 2;
    }
    const auto squares = rules::DeriveSquares();
    if (!Check(squares)) return 1;

    std::string text;
    for (const auto& square : squares) text += rules::SquareLine(square) + "\n";
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::fprintf(stderr, "koravex-squares: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "koravex-squares: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
