#include <GL/gl.h>

#include <array>

#include "assets_fixture.h"
#include "base/failure.h"
#include "game/assets.h"
#include "rules/squares.h"
#include "tests/support/engine/model_helpers.h"
#include "tests/support/rules/board_text.h"

namespace {

using namespace kxtest;
namespace fs = std::filesystem;

const std::array<const char*, 11> kPictures{"wood.bmp",    "wood2.bmp", "help.bmp", "backg.bmp",
                                            "menujel.bmp", "menu.bmp",  "pc.bmp",   "ember.bmp",
                                            "iq.bmp",      "jelol.bmp", "ures.bmp"};

std::array<std::int32_t*, 11> SlotVariables() {
    using namespace game;
    return {&state.TexWood,     &state.TexWood2, &state.TexHelp,     &state.TexBackground,
            &state.TexMenuMark, &state.TexMenu,  &state.TexComputer, &state.TexHuman,
            &state.TexStrength, &state.TexMark,  &state.TexEmpty};
}

Bytes Definition() {
    const std::string text =
        kxtest::Definition([](const std::string& line, int) { return line + "\n"; });
    return Bytes(text.begin(), text.end());
}

class Assets : public GlWorkspaceTest {
  protected:
    void SetUp() override {
        GlWorkspaceTest::SetUp();
        game::state.BoardList = game::state.PieceList = 0;
        for (auto* slot : SlotVariables())
            *slot = -2;
    }

    std::vector<std::pair<std::string, Bytes>> Members() {
        std::vector<std::pair<std::string, Bytes>> members{{"negyzetek.dat", Definition()},
                                                           {"tabla.3ds", BoardModel()},
                                                           {"babu.3ds", PieceModel()}};
        for (const char* name : kPictures)
            members.emplace_back(name, Gradient24(4, 4));
        return members;
    }
    static void Replace(std::vector<std::pair<std::string, Bytes>>& members,
                        const std::string& name, Bytes bytes) {
        for (auto& member : members)
            if (member.first == name) member.second = std::move(bytes);
    }
    std::vector<std::int32_t> Slots() {
        std::vector<std::int32_t> out;
        for (auto* slot : SlotVariables())
            out.push_back(*slot);
        return out;
    }
};

TEST_F(Assets, EverythingLoadsIntoSlotsZeroToTenAndTwoLists) {
    WriteArchive(Members());
    game::LoadAssets();
    EXPECT_EQ(Slots(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(game::state.BoardObjectIndex, 1);
    EXPECT_EQ(game::state.PieceObjectIndex, game::state.BoardObjectIndex + 1);
    EXPECT_EQ(engine::state.Objects[game::state.BoardObjectIndex].Name, "board");
    EXPECT_TRUE(glIsList(game::state.PieceList));
    EXPECT_TRUE(glIsList(game::state.BoardList));
    EXPECT_LT(game::state.PieceList, game::state.BoardList);
    EXPECT_EQ(rules::state.SquareTable[104][0].i, rules::DeriveSquares()[104][0].i);
    EXPECT_TRUE(HoldsNothingOfTheGames(Temp()));
    EXPECT_EQ(CurrentDir(), dir_);
    EXPECT_TRUE(Boxes().empty());
}

// The archive is found from the program's folder, wherever the game happens to stand.
TEST_F(Assets, LoadsWhateverTheCurrentDirectory) {
    WriteArchive(Members());
    fs::current_path("/");
    game::LoadAssets();
    EXPECT_EQ(Slots(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(game::state.PieceObjectIndex, 2);
    EXPECT_TRUE(HoldsNothingOfTheGames(Temp()));
    EXPECT_EQ(CurrentDir(), "/");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Assets, AnUndecodableHelpPageShiftsNoOtherSlot) {
    auto members = Members();
    Replace(members, "help.bmp", Bytes{'B', 'M', 0, 0});
    WriteArchive(members);
    game::LoadAssets();
    EXPECT_EQ(Slots(), (std::vector<std::int32_t>{0, 1, -1, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Assets, AMissingPictureStopsTheLoadBeforeTheLists) {
    auto members = Members();
    std::erase_if(members, [](const auto& m) { return m.first == "menu.bmp"; });
    WriteArchive(members);
    EXPECT_THROW(game::LoadAssets(), base::IoFailure);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "File(menu.bmp) not found in bigfile(adatok.vbf) !!");
    // The report emptied the texture store; the slots before the failure were handed out.
    EXPECT_EQ(game::state.TexMenuMark, 4);
    EXPECT_EQ(game::state.TexMenu, -2);
    EXPECT_EQ(game::state.PieceList, 0u);
    EXPECT_EQ(game::state.BoardList, 0u);
}

TEST_F(Assets, ModelsThatAreNot3dsLeaveEmptyListsAndNoStrayIndex) {
    for (const char* broken : {"tabla.3ds", "babu.3ds"}) {
        SCOPED_TRACE(broken);
        engine::EngineInit();
        platform::testing::Double().boxes.clear();
        auto members = Members();
        Replace(members, broken, Bytes{'n', 'o', 't', ' ', '3', 'd', 's'});
        WriteArchive(members);
        game::LoadAssets();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text,
                  std::string("This file isn't a valid 3DS format file: ") + broken);
        EXPECT_TRUE(glIsList(game::state.BoardList));
        EXPECT_TRUE(glIsList(game::state.PieceList));
        // A report while the piece loads empties the store the board's index points into.
        if (std::string(broken) == "babu.3ds")
            EXPECT_EQ(engine::ObjectCount(), 0);
        else
            EXPECT_EQ(game::state.BoardObjectIndex, -1);
    }
}

} // namespace
