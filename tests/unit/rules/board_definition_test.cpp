#include <set>

#include "archive/workspace.h"
#include "base/failure.h"
#include "game/assets.h"
#include "rules/board_definition.h"
#include "rules/squares.h"
#include "tests/unit/archive/archive_fixture.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

// The derived squares, one line each; `shape` turns each 20-character line into its stored form.
template <typename Shape> std::string Definition(Shape shape, int lines = rules::kSquareCount) {
    const auto squares = rules::DeriveSquares();
    std::string text;
    for (int k = 0; k < lines; ++k)
        text += shape(rules::SquareLine(squares[k % rules::kSquareCount]), k);
    return text;
}

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

bool SameSquares(const std::array<rules::Square, rules::kSquareCount>& a,
                 const std::array<rules::Square, rules::kSquareCount>& b) {
    for (int k = 0; k < rules::kSquareCount; ++k)
        for (int c = 0; c < 4; ++c)
            if (a[k][c].i != b[k][c].i || a[k][c].j != b[k][c].j) return false;
    return true;
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

class BoardDefinitionLoad : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        SetUpPortableWorkspace(dir_);
        rules::SquareTable = {};
    }
    void Pack(const std::string& text) {
        WriteBytes(dir_ / "a.vbf", Archive({{"other.bmp", "BM"}, {"NEGYZETEK.DAT", text}}));
    }
};

TEST_F(BoardDefinitionLoad, FillsTheTableThroughTempAndRemovesTheCopy) {
    Pack(Definition([](const std::string& line, int) { return line + "\r\n"; }));
    game::LoadBoardDefinition("negyzetek.dat", "a.vbf");
    EXPECT_TRUE(SameSquares(rules::SquareTable, rules::DeriveSquares()));
    EXPECT_EQ(CurrentDir(), dir_);
    EXPECT_FALSE(fs::exists(dir_ / "Temp" / "negyzetek.dat"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BoardDefinitionLoad, AFailedLoadKeepsTheTableAndLeavesTheCopyInTemp) {
    Pack("(1,1)(1,2)(2,2)(2,1)\n");
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::ConvertFailure);
    EXPECT_EQ(rules::SquareTable[0][0].i, 0);
    EXPECT_TRUE(fs::exists(dir_ / "Temp" / "negyzetek.dat"));

    // An empty member: the engine's report, then the file end in the first digit place.
    Pack("");
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::ConvertFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Not enough memory to run this application !");
}

TEST_F(BoardDefinitionLoad, AMissingMemberIsTheArchiveFailure) {
    WriteBytes(dir_ / "a.vbf", Archive({{"other.bmp", "BM"}}));
    EXPECT_THROW(game::LoadBoardDefinition("negyzetek.dat", "a.vbf"), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(negyzetek.dat) not found in bigfile(a.vbf) !!");
}

// The archive the build makes: every square of the board, each once, each a true square.
TEST_F(BoardDefinitionLoad, TheBuiltArchiveHoldsEverySquareOfTheBoard) {
    const fs::path built = fs::path(KX_BINARY_DIR) / "adatok.vbf";
    if (!fs::exists(built)) GTEST_SKIP() << "the archive has not been built";
    fs::copy_file(built, dir_ / "adatok.vbf", fs::copy_options::overwrite_existing);
    game::LoadBoardDefinition("negyzetek.dat", "adatok.vbf");

    std::set<std::array<std::pair<int, int>, 4>> distinct;
    for (const auto& square : rules::SquareTable) {
        const int di = square[1].i - square[0].i;
        const int dj = square[1].j - square[0].j;
        EXPECT_TRUE(di != 0 || dj != 0);
        EXPECT_EQ(square[2].i - square[1].i, -dj);
        EXPECT_EQ(square[2].j - square[1].j, di);
        EXPECT_EQ(square[3].i - square[2].i, -di);
        EXPECT_EQ(square[3].j - square[2].j, -dj);
        std::array<std::pair<int, int>, 4> corners;
        for (int c = 0; c < 4; ++c)
            corners[c] = {square[c].i, square[c].j};
        std::sort(corners.begin(), corners.end());
        distinct.insert(corners);
    }
    EXPECT_EQ(distinct.size(), 105u);
}

} // namespace
