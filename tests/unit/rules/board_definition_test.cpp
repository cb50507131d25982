#include <gtest/gtest.h>

#include <span>

#include "base/failure.h"
#include "rules/board_definition.h"
#include "rules/squares.h"
#include "tests/support/rules/board_text.h"

namespace {

using kxtest::Definition;
using kxtest::SameSquares;

std::array<rules::Square, rules::kSquareCount> Parse(const std::string& text) {
    return rules::ParseBoardDefinition(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string ConvertMessage(const std::string& text) {
    try {
        Parse(text);
    } catch (const base::ConvertFailure& failure) {
        return failure.what();
    }
    return "no failure";
}

TEST(BoardDefinitionSyntax, LineEndingsCommentsAndExtraLinesReadTheSame) {
    const auto expected = rules::DeriveSquares();
    const auto lf = [](const std::string& line, int) { return line + "\n"; };
    const auto crlf = [](const std::string& line, int) { return line + "\r\n"; };
    const auto comment = [](const std::string& line, int k) {
        return line + "  square " + std::to_string(k + 1) + " (9,9)\n";
    };
    // The carriage return stands where the last separator was.
    const auto nineteen = [](const std::string& line, int) { return line.substr(0, 19) + "\r\n"; };
    // Separators are not looked at, whatever they are.
    const auto odd = [](const std::string& line, int) {
        std::string out = line;
        for (int p : {0, 2, 4, 5, 7, 9, 10, 12, 14, 15, 17, 19})
            out[p] = "x7 \t-a"[p % 6];
        return out + "\n";
    };
    EXPECT_TRUE(SameSquares(Parse(Definition(lf)), expected));
    EXPECT_TRUE(SameSquares(Parse(Definition(crlf)), expected));
    EXPECT_TRUE(SameSquares(Parse(Definition(comment)), expected));
    EXPECT_TRUE(SameSquares(Parse(Definition(nineteen)), expected));
    EXPECT_TRUE(SameSquares(Parse(Definition(odd)), expected));
    EXPECT_TRUE(
        SameSquares(Parse(Definition(lf) + "(0,0)(x,y)\n" + std::string(5000, 'z')), expected));
    // No line break at the very end is fine too.
    auto text = Definition(lf);
    text.pop_back();
    EXPECT_TRUE(SameSquares(Parse(text), expected));
}

TEST(BoardDefinitionSyntax, NonDigitsNameTheCharacterAndTheFileEndReadsAs26) {
    const auto lf = [](const std::string& line, int) { return line + "\n"; };
    EXPECT_EQ(ConvertMessage(Definition(lf, 104)), "'\\x1a' is not a valid integer value");
    EXPECT_EQ(ConvertMessage(""), "'\\x1a' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(a,1)"), "'a' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(1, 1)"), "' ' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(-1,1)"), "'-' is not a valid integer value");
    // A short line takes its line break into a digit place.
    EXPECT_EQ(ConvertMessage("(1,1)(1,2)(2,2)(2,\n"), "'\\x0a' is not a valid integer value");
    // Control bytes and bytes from 0x7F up appear by their code, never raw.
    EXPECT_EQ(ConvertMessage(std::string("(\0,1)", 5)), "'\\x00' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(\x1b,1)"), "'\\x1b' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(\x7f,1)"), "'\\x7f' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(\xe9,1)"), "'\\xe9' is not a valid integer value");
    EXPECT_EQ(ConvertMessage("(~,1)"), "'~' is not a valid integer value");
}

TEST(BoardDefinitionSyntax, ASquareNeedsFourDistinctCellsAndTheMessageNamesItsLine) {
    const auto lf = [](const std::string& line, int) { return line + "\n"; };
    const std::string good = Definition(lf);
    EXPECT_EQ(ConvertMessage(good), "no failure");
    for (const std::string bad : {"(1,1)(1,1)(1,1)(1,1)", "(1,1)(1,2)(2,2)(1,1)",
                                  "(1,1)(1,2)(1,2)(2,1)", "(3,4)(4,3)(5,4)(3,4)"}) {
        std::string text = good;
        // Line 17 starts after sixteen lines of 21 characters.
        text.replace(16 * 21, 20, bad);
        EXPECT_EQ(ConvertMessage(text),
                  "Line 17: the corners " + bad + " are not four distinct cells");
    }
    // The first line and the last are checked too.
    std::string text = good;
    text.replace(0, 20, "(6,6)(6,6)(6,6)(6,6)");
    EXPECT_EQ(ConvertMessage(text),
              "Line 1: the corners (6,6)(6,6)(6,6)(6,6) are not four distinct cells");
    text = good;
    text.replace(104 * 21, 20, "(2,2)(2,3)(2,3)(3,2)");
    EXPECT_EQ(ConvertMessage(text),
              "Line 105: the corners (2,2)(2,3)(2,3)(3,2) are not four distinct cells");
}

TEST(BoardDefinitionSyntax, CoordinatesOffTheBoardAreRejected) {
    EXPECT_EQ(ConvertMessage("(0,1)"), "'0' is not a valid board coordinate");
    EXPECT_EQ(ConvertMessage("(1,7)"), "'7' is not a valid board coordinate");
    const auto lf = [](const std::string& line, int) { return line + "\n"; };
    auto text = Definition(lf);
    text[text.size() - 3] = '9'; // the last j of the last square
    EXPECT_EQ(ConvertMessage(text), "'9' is not a valid board coordinate");
}

} // namespace
