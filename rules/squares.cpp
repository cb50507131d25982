#include "rules/squares.h"

namespace rules {

std::array<Square, kSquareCount> DeriveSquares() {
    std::array<Square, kSquareCount> squares{};
    int n = 0;
    // Side vector (a, b) with a >= 1, b >= 0: corners (i, j), (i+a, j+b), (i+a-b, j+b+a), (i-b, j+a).
    for (int s = 1; s <= 5; ++s) {
        for (int b = 0; b < s; ++b) {
            const int a = s - b;
            for (int i = 1 + b; i + a <= 6; ++i) {
                for (int j = 1; j + a + b <= 6; ++j) {
                    const auto corner = [](int ci, int cj) {
                        return SquareCorner{static_cast<std::uint8_t>(ci), static_cast<std::uint8_t>(cj)};
                    };
                    squares[n++] = {corner(i, j), corner(i + a, j + b), corner(i + a - b, j + b + a),
                                    corner(i - b, j + a)};
                }
            }
        }
    }
    return squares;
}

std::string SquareLine(const Square& square) {
    std::string line;
    for (const SquareCorner& c : square) {
        // Board coordinates are single digits.
        line += {'(', static_cast<char>('0' + c.i), ',', static_cast<char>('0' + c.j), ')'};
    }
    return line;
}

} // namespace rules
