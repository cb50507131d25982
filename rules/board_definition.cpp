#include "rules/board_definition.h"

#include "base/failure.h"
#include "rules/squares.h"

namespace rules {

namespace {

// What a text file yields once it has run out.
constexpr std::uint8_t kEndOfFile = 26;

// Reads characters one at a time, never past the end of the text.
struct TextReader {
    std::span<const std::uint8_t> text;
    std::size_t pos = 0;

    std::uint8_t Next() { return pos < text.size() ? text[pos++] : kEndOfFile; }
    void SkipLine() {
        while (pos < text.size())
            if (text[pos++] == '\n') return;
    }
};

std::string CharText(std::uint8_t c) {
    return base::PrintableText(std::string(1, static_cast<char>(c)));
}

// A square needs four different cells: with fewer, one piece would complete it, and marking
// its corners would push a cell past the values the board knows.
bool FourDistinctCells(const Square& square) {
    for (std::size_t a = 0; a < square.size(); ++a)
        for (std::size_t b = a + 1; b < square.size(); ++b)
            if (square[a].i == square[b].i && square[a].j == square[b].j) return false;
    return true;
}

std::uint8_t Coordinate(std::uint8_t c) {
    if (c < '0' || c > '9')
        throw base::ConvertFailure("'" + CharText(c) + "' is not a valid integer value");
    // Only 1..6 are cells: anything else would index outside the board.
    if (c < '1' || c > '6')
        throw base::ConvertFailure("'" + CharText(c) + "' is not a valid board coordinate");
    return static_cast<std::uint8_t>(c - '0');
}

} // namespace

std::array<Square, kSquareCount> ParseBoardDefinition(std::span<const std::uint8_t> text) {
    std::array<Square, kSquareCount> squares{};
    TextReader reader{text};
    for (std::size_t k = 0; k < squares.size(); ++k) {
        Square& square = squares[k];
        for (auto& corner : square) {
            reader.Next();
            corner.i = Coordinate(reader.Next());
            reader.Next();
            corner.j = Coordinate(reader.Next());
            reader.Next();
        }
        if (!FourDistinctCells(square))
            throw base::ConvertFailure("Line " + std::to_string(k + 1) + ": the corners " +
                                       SquareLine(square) + " are not four distinct cells");
        reader.SkipLine();
    }
    return squares;
}

void UseBoardDefinition(std::span<const std::uint8_t> text) {
    state.SquareTable = ParseBoardDefinition(text);
}

} // namespace rules
