// Board definitions written out as text, for the parser's tests and the loaders'.
#pragma once

#include <array>
#include <string>

#include "rules/squares.h"
#include "rules/state.h"

namespace kxtest {

// The derived squares, one line each; `shape` turns each 20-character line into its stored form.
template <typename Shape> std::string Definition(Shape shape, int lines = rules::kSquareCount) {
    const auto squares = rules::DeriveSquares();
    std::string text;
    for (int k = 0; k < lines; ++k)
        text += shape(rules::SquareLine(squares[k % rules::kSquareCount]), k);
    return text;
}

inline bool SameSquares(const std::array<rules::Square, rules::kSquareCount>& a,
                        const std::array<rules::Square, rules::kSquareCount>& b) {
    for (int k = 0; k < rules::kSquareCount; ++k)
        for (int c = 0; c < 4; ++c)
            if (a[k][c].i != b[k][c].i || a[k][c].j != b[k][c].j) return false;
    return true;
}

} // namespace kxtest
