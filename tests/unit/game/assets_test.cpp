#include <GL/gl.h>

#include <array>
#include <cstring>

#include "assets_fixture.h"
#include "base/failure.h"
#include "engine/model3ds.h"
#include "game/assets.h"
#include "render/model_lists.h"
#include "rules/squares.h"
#include "tools/model3ds/model3ds_writer.h"

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
    std::string text;
    for (const auto& square : rules::DeriveSquares())
        text += rules::SquareLine(square) + "\n";
    return Bytes(text.begin(), text.end());
}

tools3ds::Mesh Triangle(const std::string& name, std::vector<engine::TVector3> corners) {
    return {name, std::move(corners), {{0, 1, 2}}, {}};
}

// The board file holds two meshes, of which the last is drawn; the piece file one.
Bytes BoardModel() {
    return tools3ds::Write3ds(
        {}, {Triangle("legs", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
             Triangle("board", {{-27.5f, 27.5f, 1}, {0, 0, 1}, {27.5f, -27.5f, 1}})});
}
Bytes PieceModel() {
    return tools3ds::Write3ds({}, {Triangle("piece", {{10, -20, 0}, {0, 0, 5}, {-20, 10, 0}})});
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

// One vertex of a list as feedback mode reports it.
struct FedVertex {
    float x, y, z, w, r, g, b, a, s, t, p, q;
};

std::vector<FedVertex> Feedback(GLuint list) {
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FedVertex> out;
    for (GLint i = 0; i < used;) {
        EXPECT_EQ(buffer[i], GL_POLYGON_TOKEN);
        const int corners = static_cast<int>(buffer[i + 1]);
        i += 2;
        for (int c = 0; c < corners; ++c, i += 12) {
            FedVertex v;
            std::memcpy(&v, &buffer[i], sizeof v);
            out.push_back(v);
        }
    }
    return out;
}

class Lists : public Assets {
  protected:
    void SetUp() override {
        Assets::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-100, 100, -100, 100, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(Lists, TextureCoordinatesProjectXAndYAndTheBoardIsGreyedPerTriangle) {
    engine::Load3DSFromMemory(PieceModel(), "babu.3ds", 255);
    engine::Load3DSFromMemory(BoardModel(), "tabla.3ds", 255);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    const auto piece = Feedback(render::CompileModelList(0, render::kPieceLook));
    ASSERT_EQ(piece.size(), 3u);
    EXPECT_FLOAT_EQ(piece[0].s, 1.0f); // x = 10
    EXPECT_FLOAT_EQ(piece[0].t, 0.0f); // y = -20
    EXPECT_FLOAT_EQ(piece[2].s, 0.0f);
    EXPECT_FLOAT_EQ(piece[2].t, 1.0f);
    // The piece takes the colour current at the call.
    EXPECT_FLOAT_EQ(piece[1].b, 0.3f);

    const auto board = Feedback(render::CompileModelList(2, render::kBoardLook));
    ASSERT_EQ(board.size(), 3u);
    EXPECT_FLOAT_EQ(board[0].s, 0.0f);
    EXPECT_FLOAT_EQ(board[0].t, 1.0f);
    EXPECT_FLOAT_EQ(board[1].s, 0.5f);
    EXPECT_FLOAT_EQ(board[2].s, 1.0f);
    EXPECT_FLOAT_EQ(board[2].t, 0.0f);
    for (const auto& v : board) {
        EXPECT_FLOAT_EQ(v.r, 0.5f);
        EXPECT_FLOAT_EQ(v.a, 0.5f);
    }
}

TEST_F(Lists, ObjectsOutsideTheStoreOrWithoutTrianglesGiveEmptyLists) {
    engine::NewObject(0, 0, 0, 0);
    for (std::int32_t object : {-1, 0, 1, 65535}) {
        const GLuint list = render::CompileModelList(object, render::kBoardLook);
        EXPECT_TRUE(glIsList(list)) << object;
        EXPECT_TRUE(Feedback(list).empty()) << object;
    }
}

TEST_F(Lists, TheIndexedCompilerLightsExactlyLikeTheFullScan) {
    // Lit colours depend on every normal; the two lists must give the same bits.
    tools3ds::Mesh bowl;
    for (int y = 0; y <= 6; ++y)
        for (int x = 0; x <= 6; ++x)
            bowl.vertices.push_back(
                {x * 10.0f - 30, y * 10.0f - 30, ((x - 3) * (x - 3) + (y - 3) * (y - 3)) * 2.0f});
    for (std::uint16_t y = 0; y < 6; ++y)
        for (std::uint16_t x = 0; x < 6; ++x) {
            const auto k = static_cast<std::uint16_t>(y * 7 + x);
            bowl.faces.push_back(
                {k, static_cast<std::uint16_t>(k + 1), static_cast<std::uint16_t>(k + 8)});
            bowl.faces.push_back(
                {k, static_cast<std::uint16_t>(k + 8), static_cast<std::uint16_t>(k + 7)});
        }
    engine::Load3DSFromMemory(tools3ds::Write3ds({}, {bowl}), "bowl.3ds", 255);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat direction[4] = {0.3f, -0.5f, 0.8f, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    const auto fast = Feedback(render::CompileModelList(0, render::kBoardLook));
    const auto scan = Feedback(render::CompileModelListByScan(0, render::kBoardLook));
    glDisable(GL_LIGHTING);
    ASSERT_EQ(fast.size(), 72u * 3);
    ASSERT_EQ(fast.size(), scan.size());
    EXPECT_EQ(std::memcmp(fast.data(), scan.data(), fast.size() * sizeof(FedVertex)), 0);
}

} // namespace
