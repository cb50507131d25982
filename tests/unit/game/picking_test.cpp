#include <algorithm>
#include <cmath>
#include <vector>

#include "game/picking.h"
#include "game/state.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/rules.h"
#include "tests/support/game/cell_point.h"
#include "tests/support/game/frame_fixture.h"

namespace {

using rules::Cell;

class Picking : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        Resize(1024, 768);
    }
    static void Resize(int width, int height) {
        ASSERT_TRUE(pt::OpenHiddenGlWindow(width, height));
        platform::state.ScreenWidth = static_cast<std::uint16_t>(width);
        platform::state.ScreenHeight = static_cast<std::uint16_t>(height);
        render::ResizeScene(width, height);
    }
    // Where the centre of cell (i, j)'s hollow, at the height of the board's face, lies in the
    // window, y upwards.
    static kxtest::WindowPoint Centre(int i, int j) {
        return kxtest::ProjectCellPoint(i, j, engine::TVector3{});
    }
    static void CursorAt(const kxtest::WindowPoint& w) {
        pt::Double().cursorX = static_cast<int>(std::lround(w.x));
        pt::Double().cursorY = render::state.ViewportHeight - static_cast<int>(std::lround(w.y));
    }
    static void ExpectCell(Cell cell, int i, int j) {
        EXPECT_EQ(cell.i, i);
        EXPECT_EQ(cell.j, j);
    }
};

// Window position of an eye-space point under the scene's perspective.
kxtest::WindowPoint Perspective(double x, double y, double z, double width, double height) {
    const double aspect = width / height;
    // Narrower than 4:3 the view widens to keep the width it has at 4:3.
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0) * std::min(aspect * 3 / 4, 1.0);
    return {width / 2 * (1 + f / aspect * x / -z), height / 2 * (1 + f * y / -z), 0};
}

// Window position of a point of the board (board units, z up from its face) under the scene's
// camera and perspective, worked out here on its own.
kxtest::WindowPoint OnScreen(double x, double y, double width, double height) {
    const double t = game::state.CameraTurn * M_PI / 180, a = game::state.CameraTilt * M_PI / 180;
    const double y1 = x * std::sin(t) + y * std::cos(t);
    return Perspective(x * std::cos(t) - y * std::sin(t), y1 * std::cos(a), y1 * std::sin(a) - 10,
                       width, height);
}

TEST_F(Picking, CellPointsGoThroughTheSceneCameraWithTheEngineAxes) {
    Resize(800, 600);
    game::state.CameraTilt = 0.0f;
    game::state.CameraTurn = 0.0f;
    kxtest::WindowPoint w = kxtest::ProjectCellPoint(4, 4, engine::TVector3{});
    kxtest::WindowPoint e = Perspective(0.45, 0.45, -10, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // The engine's -y is up from the board: ten model units are one unit nearer the eye.
    w = kxtest::ProjectCellPoint(4, 6, engine::TVector3{0.0f, -10.0f, 0.0f});
    e = Perspective(0.45, 2.25, -9, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // The turn spins the board about its normal, after the cell offsets.
    game::state.CameraTurn = 90.0f;
    w = kxtest::ProjectCellPoint(6, 4, engine::TVector3{});
    e = Perspective(-0.45, 2.25, -10, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // A tilt of -90 lays the board's y axis along the line of sight.
    game::state.CameraTurn = 0.0f;
    game::state.CameraTilt = -90.0f;
    w = kxtest::ProjectCellPoint(6, 6, engine::TVector3{});
    e = Perspective(2.25, 0, -12.25, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);
}

// Narrower than 4:3 the view widens: the board keeps the share of the width it has at 4:3,
// and picking follows that projection.
TEST_F(Picking, OnAPortraitWindowTheBoardKeepsItsWidthAndEveryCellIsFound) {
    const auto share = [](int i, int j) { return Centre(i, j).x / render::state.ViewportWidth; };
    std::vector<double> wide;
    for (int n = 0; n < 36; ++n)
        wide.push_back(share(n % 6 + 1, n / 6 + 1));
    Resize(540, 960);
    for (int n = 0; n < 36; ++n) {
        const int i = n % 6 + 1, j = n / 6 + 1;
        SCOPED_TRACE(::testing::Message() << "cell " << i << "," << j);
        EXPECT_NEAR(share(i, j), wide[static_cast<std::size_t>(n)], 1e-4);
        const kxtest::WindowPoint w = Centre(i, j);
        ExpectCell(game::PickCell({w.x, w.y}), i, j);
    }
    // Wider than 4:3 the vertical field stays 45 degrees.
    EXPECT_DOUBLE_EQ(render::FieldOfViewDegrees(2520, 1080), 45.0);
    EXPECT_DOUBLE_EQ(render::FieldOfViewDegrees(1024, 768), 45.0);
}

TEST_F(Picking, EveryCellIsFoundAtItsOwnCentre) {
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const kxtest::WindowPoint w = Centre(i, j);
            SCOPED_TRACE(::testing::Message() << "cell " << i << "," << j);
            ExpectCell(game::PickCell({w.x, w.y}), i, j);
        }
    }
    // The middle of the board, where four cells meet, is one of them: no gap between cells.
    const kxtest::WindowPoint middle =
        kxtest::ProjectCellPoint(3, 3, engine::TVector3{4.5f, 0.0f, 4.5f});
    const Cell atMiddle = game::PickCell({middle.x, middle.y});
    EXPECT_TRUE((atMiddle.i == 3 || atMiddle.i == 4) && (atMiddle.j == 3 || atMiddle.j == 4));
    ExpectCell(game::PickCell({0, 0}), -1, -1);
}

TEST_F(Picking, APressOnAHoveredEmptyCellMakesTheMove) {
    CursorAt(Centre(2, 5));
    Update();
    ExpectCell(game::state.HoverCell, 2, 5);
    EXPECT_EQ(rules::state.MoveDelay, 0);

    pt::Double().left = true;
    Update();
    ExpectCell(rules::state.PendingCell, 2, 5);
    EXPECT_EQ(rules::state.MoveDelay, 1000);
}

TEST_F(Picking, AClickShorterThanAFrameStillMakesTheMoveOnce) {
    CursorAt(Centre(4, 2));
    pt::Double().leftClickUnseen = true;
    Update();
    ExpectCell(rules::state.PendingCell, 4, 2);
    EXPECT_EQ(rules::state.MoveDelay, 1000);
    Update(100);
    EXPECT_EQ(rules::state.MoveDelay, 900);
}

TEST_F(Picking, ThePanelZoneHidesTheCellsBeneathIt) {
    Resize(400, 600);
    // A cell's corner under the open panel (from 824) but clear of the closed one: the board
    // keeps its room at 4:3, so only some turns and tilts (not edge-on) bring it that far right.
    Cell under;
    kxtest::WindowPoint at;
    for (int view = 0; view < 18 * 72 && under.i == -1; ++view) {
        game::state.CameraTilt = -85.0f + 5.0f * static_cast<float>(view / 72);
        game::state.CameraTurn = 5.0f * static_cast<float>(view % 72);
        for (int n = 0; n < 36 && under.i == -1; ++n) {
            at =
                kxtest::ProjectCellPoint(n % 6 + 1, n / 6 + 1, engine::TVector3{4.0f, 0.0f, -4.0f});
            if (at.x * 1024 / 400 > 830 && at.x * 1024 / 400 < 975)
                under = Cell{n % 6 + 1, n / 6 + 1};
        }
    }
    ASSERT_NE(under.i, -1);
    CursorAt(at);
    Update();
    ExpectCell(game::state.HoverCell, under.i, under.j);

    game::state.MenuOffset = 200;
    pt::Double().left = true;
    pt::Double().releaseLeftAfterPolls = 1000;
    Update();
    ExpectCell(game::state.HoverCell, -1, -1);
    EXPECT_EQ(pt::Double().sleeps, 0);
    EXPECT_EQ(rules::state.MoveDelay, 0);
}

TEST_F(Picking, ClosingHelpOverACellPlacesNoPiece) {
    CursorAt(Centre(3, 3));
    game::state.HelpShown = true;
    Update();
    ExpectCell(game::state.HoverCell, -1, -1);

    PressLeftFor(3);
    Update();
    EXPECT_FALSE(game::state.HelpShown);
    ExpectCell(game::state.HoverCell, -1, -1);
    Update();
    ExpectCell(game::state.HoverCell, 3, 3);
    EXPECT_EQ(rules::state.MoveDelay, 0);
    EXPECT_EQ(rules::BoardAt(3, 3), 0);
}

TEST_F(Picking, AfterTheEndNothingIsHoveredButTheColumnStays) {
    rules::state.GameOver = true;
    CursorAt(Centre(2, 5));
    pt::Double().left = true;
    Update();
    EXPECT_EQ(game::state.HoverCell.i, -1);
    EXPECT_EQ(game::state.HoverCell.j, 5);
    EXPECT_EQ(rules::state.MoveDelay, 0);
}

TEST_F(Picking, NoCellIsPickedOnceTheContextIsGone) {
    CursorAt(Centre(2, 5));
    platform::SendMessage({platform::MessageKind::KeyDown, 27});
    pt::Double().left = true;
    Update();
    EXPECT_TRUE(QuitPosted());
    ExpectCell(game::state.HoverCell, -1, -1);
    EXPECT_EQ(rules::state.MoveDelay, 0);
}

// Each cell reaches halfway to its neighbours, the outer ones as far beyond their centre, on
// 4:3, 21:9 and 9:16 screens from several views: its centre and points just inside its sides
// pick it, points just beyond pick the neighbour, or none past the board's edge.
TEST_F(Picking, EveryPointOfTheBoardsFacePicksTheCellItLiesIn) {
    struct View {
        int width, height;
        float tilt, turn;
    };
    for (const auto& [width, height, tilt, turn] : {View{1024, 768, -45, 45},
                                                    {1024, 768, 0, 0},
                                                    {1680, 720, -30, 130},
                                                    {1680, 720, -75, -20},
                                                    {540, 960, -45, 45},
                                                    {540, 960, -60, 250}}) {
        Resize(width, height);
        game::state.CameraTilt = tilt;
        game::state.CameraTurn = turn;
        for (int n = 0; n < 36 * 9; ++n) {
            const int i = n % 6 + 1, j = n / 6 % 6 + 1, di = n / 36 % 3 - 1, dj = n / 108 - 1;
            for (const double reach : {0.43, 0.47}) {
                const double x = 0.9 * i - 3.15 + di * reach, y = 0.9 * j - 3.15 + dj * reach;
                Cell e = reach < 0.45 ? Cell{i, j} : Cell{i + di, j + dj};
                if (e.i < 1 || e.i > 6 || e.j < 1 || e.j > 6) e = Cell{};
                SCOPED_TRACE(::testing::Message() << width << "x" << height << " tilt " << tilt
                                                  << " turn " << turn << " at " << x << ", " << y);
                const kxtest::WindowPoint w = OnScreen(x, y, width, height);
                ExpectCell(game::PickCell({w.x, w.y}), e.i, e.j);
            }
        }
    }
}

// A piece hides the hollow behind it: a click on it is the (ignored) click on its cell, never
// a move on the neighbour's hollow. Beside its narrow top, where only a cylinder round the
// whole piece would reach, the board behind shows and is picked.
TEST_F(Picking, AStandingPieceCountsForItsOwnCellWhereItIsDrawn) {
    game::state.CameraTilt = -60.0f;
    game::state.CameraTurn = 0.0f;
    const kxtest::WindowPoint ball = kxtest::ProjectCellPoint(3, 3, engine::TVector3{0, -5.0f, 0});
    const kxtest::WindowPoint beside =
        kxtest::ProjectCellPoint(3, 3, engine::TVector3{2.0f, -5.0f, 0});
    ExpectCell(game::PickCell({ball.x, ball.y}), 3, 4);
    for (const std::uint8_t value : {1, 2, 3, 4}) {
        rules::BoardAt(3, 3) = value;
        ExpectCell(game::PickCell({ball.x, ball.y}), 3, 3);
        ExpectCell(game::PickCell({beside.x, beside.y}), 3, 4);
    }
    CursorAt(ball);
    pt::Double().left = true;
    Update();
    EXPECT_EQ(rules::state.MoveDelay, 0);
}

// Edge-on to the board, or with the pointer far outside the window, the answer stays sane: no
// cell or one on the board, and a piece standing above the board's line is still its cell.
TEST_F(Picking, SeenEdgeOnOrFarOffNothingOrACellIsPicked) {
    game::state.CameraTilt = -90.0f;
    rules::BoardAt(2, 6) = 1;
    for (int n = 0; n < 130 * 98; ++n) {
        const Cell cell = game::PickCell({n % 130 * 8.0 - 8, n / 130 * 8.0 - 8});
        EXPECT_TRUE(cell.i == -1 || rules::CellIndex(cell.i, cell.j) >= 0);
    }
    const kxtest::WindowPoint top = kxtest::ProjectCellPoint(2, 6, engine::TVector3{0, -4.5f, 0});
    ExpectCell(game::PickCell({top.x, top.y}), 2, 6);
    for (const double far : {1e9, -1e9})
        ExpectCell(game::PickCell({far, far}), -1, -1);
}

} // namespace
