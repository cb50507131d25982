#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/failure.h"
#include "base/way_out.h"
#include "engine/geometry.h"
#include "engine/model3ds.h"
#include "render/model_lists.h"
#include "tests/support/engine/crafted_meshes.h"
#include "tests/support/engine/model_helpers.h"
#include "tests/support/render/gl_test.h"
#include "tools/model3ds/model3ds_writer.h"

namespace {

using kxtest::BoardModel;
using kxtest::Fold;
using kxtest::MakeObject;
using kxtest::PieceModel;
using kxtest::SameBits;

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

class Lists : public kxtest::GlTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlTest::SetUp());
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

// A quit request stays raised for the whole program: every test lowers it again.
struct QuitRaised {
    QuitRaised() { base::QuitRequested = true; }
    ~QuitRaised() { base::QuitRequested = false; }
};

TEST_F(Lists, AQuitRequestStopsTheNormalsAndLeavesNoListOpen) {
    const auto o = MakeObject(crafted::CrowdedFan(4 * engine::kHugeUses));
    {
        const QuitRaised quit;
        EXPECT_THROW(engine::BuildNormalIndex(o), base::QuitRequest);
        EXPECT_THROW(render::CompileModelList(o, render::kBoardLook), base::QuitRequest);
        EXPECT_THROW(render::CompileModelList(Fold(30), render::kPieceLook), base::QuitRequest);
    }
    // Nothing was left compiling: GL takes ordinary calls, and the next list compiles.
    GLint compiling = -1;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    EXPECT_EQ(compiling, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::uint32_t list = render::CompileModelList(o, render::kBoardLook);
    EXPECT_TRUE(glIsList(list));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

engine::TVector3 CurrentNormal() {
    GLfloat n[3];
    glGetFloatv(GL_CURRENT_NORMAL, n);
    return {n[0], n[1], n[2]};
}

// Each corner of a list carries its smoothed normal: once the list has run, the current normal
// is its last corner's. The list of an object outside the store emits none.
TEST_F(Lists, EachCornerCarriesItsSmoothedNormal) {
    const auto o = Fold(30);
    glCallList(render::CompileModelList(o, render::kPieceLook));
    const engine::TVector3 current = CurrentNormal();
    EXPECT_TRUE(SameBits(current, engine::SmoothedNormal(o, 1, 2)));
    glCallList(render::CompileModelList(-1, render::kPieceLook));
    EXPECT_TRUE(SameBits(current, CurrentNormal()));
}

} // namespace
