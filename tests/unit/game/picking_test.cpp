#include <cmath>
#include <vector>

#include "frame_fixture.h"
#include "game/draw.h"
#include "game/picking.h"
#include "game/state.h"
#include "platform/window_state.h"
#include "render/view.h"

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
        platform::ScreenWidth = static_cast<std::uint16_t>(width);
        platform::ScreenHeight = static_cast<std::uint16_t>(height);
        render::ResizeScene(width, height);
    }
    // Where the centre of cell (i, j)'s hollow, at the height of the board's face, lies in the
    // window, y upwards.
    static game::WindowPoint Centre(int i, int j) {
        return game::ProjectCellPoint(i, j, engine::TVector3{});
    }
    static void CursorAt(const game::WindowPoint& w) {
        pt::Double().cursorX = static_cast<int>(std::lround(w.x));
        pt::Double().cursorY = render::ViewportHeight - static_cast<int>(std::lround(w.y));
    }
    static void ExpectCell(Cell cell, int i, int j) {
        EXPECT_EQ(cell.i, i);
        EXPECT_EQ(cell.j, j);
    }
};

// Window position of an eye-space point under the scene's 45-degree perspective.
game::WindowPoint Perspective(double x, double y, double z, double width, double height) {
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double aspect = width / height;
    return {width / 2 * (1 + f / aspect * x / -z), height / 2 * (1 + f * y / -z), 0};
}

// Window position of a point of the board (board units, z up from its face) under the scene
// camera and perspective, worked out here on its own: the camera 10 units back, tilted about
// X after turning about the board's normal; narrower than 4:3 the view widens to keep the
// width it has at 4:3.
game::WindowPoint BoardPointOnScreen(double x, double y, double z, double tilt, double turn,
                                     double width, double height) {
    const double t = turn * M_PI / 180.0, a = tilt * M_PI / 180.0;
    const double x1 = x * std::cos(t) - y * std::sin(t), y1 = x * std::sin(t) + y * std::cos(t);
    const double y2 = y1 * std::cos(a) - z * std::sin(a);
    const double z2 = y1 * std::sin(a) + z * std::cos(a) - 10;
    const double aspect = width / height;
    double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    if (aspect < 4.0 / 3.0) f *= aspect * 3.0 / 4.0;
    return {width / 2 * (1 + f / aspect * x1 / -z2), height / 2 * (1 + f * y2 / -z2), 0};
}

TEST_F(Picking, CellPointsGoThroughTheSceneCameraWithTheEngineAxes) {
    Resize(800, 600);
    game::CameraTilt = 0.0f;
    game::CameraTurn = 0.0f;
    game::WindowPoint w = game::ProjectCellPoint(4, 4, engine::TVector3{});
    game::WindowPoint e = Perspective(0.45, 0.45, -10, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // The engine's -y is up from the board: ten model units are one unit nearer the eye.
    w = game::ProjectCellPoint(4, 6, engine::TVector3{0.0f, -10.0f, 0.0f});
    e = Perspective(0.45, 2.25, -9, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // The turn spins the board about its normal, after the cell offsets.
    game::CameraTurn = 90.0f;
    w = game::ProjectCellPoint(6, 4, engine::TVector3{});
    e = Perspective(-0.45, 2.25, -10, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);

    // A tilt of -90 lays the board's y axis along the line of sight.
    game::CameraTurn = 0.0f;
    game::CameraTilt = -90.0f;
    w = game::ProjectCellPoint(6, 6, engine::TVector3{});
    e = Perspective(2.25, 0, -12.25, 800, 600);
    EXPECT_NEAR(w.x, e.x, 1e-3);
    EXPECT_NEAR(w.y, e.y, 1e-3);
}

// Narrower than 4:3 the view widens: the board keeps the share of the width it has at 4:3,
// and picking follows that projection.
TEST_F(Picking, OnAPortraitWindowTheBoardKeepsItsWidthAndEveryCellIsFound) {
    const auto share = [](int i, int j) { return Centre(i, j).x / render::ViewportWidth; };
    std::vector<double> wide;
    for (int n = 0; n < 36; ++n)
        wide.push_back(share(n % 6 + 1, n / 6 + 1));
    Resize(540, 960);
    for (int n = 0; n < 36; ++n) {
        const int i = n % 6 + 1, j = n / 6 + 1;
        SCOPED_TRACE(::testing::Message() << "cell " << i << "," << j);
        EXPECT_NEAR(share(i, j), wide[static_cast<std::size_t>(n)], 1e-4);
        const game::WindowPoint w = Centre(i, j);
        ExpectCell(game::PickCell({w.x, w.y}), i, j);
    }
    // Wider than 4:3 the vertical field stays 45 degrees.
    EXPECT_DOUBLE_EQ(render::FieldOfViewDegrees(2520, 1080), 45.0);
    EXPECT_DOUBLE_EQ(render::FieldOfViewDegrees(1024, 768), 45.0);
}

TEST_F(Picking, EveryCellIsFoundAtItsOwnCentre) {
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const game::WindowPoint w = Centre(i, j);
            SCOPED_TRACE(::testing::Message() << "cell " << i << "," << j);
            ExpectCell(game::PickCell({w.x, w.y}), i, j);
        }
    }
    // The middle of the board, where four cells meet, is one of them: no gap between cells.
    const game::WindowPoint middle =
        game::ProjectCellPoint(3, 3, engine::TVector3{4.5f, 0.0f, 4.5f});
    const Cell atMiddle = game::PickCell({middle.x, middle.y});
    EXPECT_TRUE((atMiddle.i == 3 || atMiddle.i == 4) && (atMiddle.j == 3 || atMiddle.j == 4));
    ExpectCell(game::PickCell({0, 0}), -1, -1);
}

TEST_F(Picking, APressOnAHoveredEmptyCellMakesTheMove) {
    CursorAt(Centre(2, 5));
    Update();
    ExpectCell(game::HoverCell, 2, 5);
    EXPECT_EQ(rules::MoveDelay, 0);

    pt::Double().left = true;
    Update();
    ExpectCell(rules::PendingCell, 2, 5);
    EXPECT_EQ(rules::MoveDelay, 1000);
}

TEST_F(Picking, AClickShorterThanAFrameStillMakesTheMoveOnce) {
    CursorAt(Centre(4, 2));
    pt::Double().leftClickUnseen = true;
    Update();
    ExpectCell(rules::PendingCell, 4, 2);
    EXPECT_EQ(rules::MoveDelay, 1000);
    Update(100);
    EXPECT_EQ(rules::MoveDelay, 900);
}

TEST_F(Picking, ThePanelZoneHidesTheCellsBeneathIt) {
    Resize(400, 600);
    // A point of a cell under the open panel (from 824) but clear of the closed one: the board
    // keeps its room at 4:3, so only some turns and tilts bring a cell's corner that far right.
    Cell under;
    game::WindowPoint at;
    // Edge-on (a tilt of -90) the board's face shows no cell.
    for (int view = 0; view < 18 * 72 && under.i == -1; ++view) {
        game::CameraTilt = -85.0f + 5.0f * static_cast<float>(view / 72);
        game::CameraTurn = 5.0f * static_cast<float>(view % 72);
        for (int n = 0; n < 36 * 4 && under.i == -1; ++n) {
            const int i = n / 4 % 6 + 1, j = n / 24 + 1;
            const float dx = n % 2 ? 4.0f : -4.0f, dy = n / 2 % 2 ? 4.0f : -4.0f;
            const game::WindowPoint w = game::ProjectCellPoint(i, j, engine::TVector3{dx, 0, dy});
            const double x = w.x * 1024 / 400;
            if (x > 830 && x < 975) {
                under = Cell{i, j};
                at = w;
            }
        }
    }
    ASSERT_NE(under.i, -1);
    CursorAt(at);
    Update();
    ExpectCell(game::HoverCell, under.i, under.j);

    game::MenuOffset = 200;
    pt::Double().left = true;
    pt::Double().releaseLeftAfterPolls = 1000;
    Update();
    ExpectCell(game::HoverCell, -1, -1);
    EXPECT_EQ(pt::Double().sleeps, 0);
    EXPECT_EQ(rules::MoveDelay, 0);
}

TEST_F(Picking, ClosingHelpOverACellPlacesNoPiece) {
    CursorAt(Centre(3, 3));
    game::HelpShown = true;
    Update();
    ExpectCell(game::HoverCell, -1, -1);

    PressLeftFor(3);
    Update();
    EXPECT_FALSE(game::HelpShown);
    ExpectCell(game::HoverCell, -1, -1);
    Update();
    ExpectCell(game::HoverCell, 3, 3);
    EXPECT_EQ(rules::MoveDelay, 0);
    EXPECT_EQ(rules::BoardAt(3, 3), 0);
}

TEST_F(Picking, AfterTheEndNothingIsHoveredButTheColumnStays) {
    rules::GameOver = true;
    CursorAt(Centre(2, 5));
    pt::Double().left = true;
    Update();
    EXPECT_EQ(game::HoverCell.i, -1);
    EXPECT_EQ(game::HoverCell.j, 5);
    EXPECT_EQ(rules::MoveDelay, 0);
}

TEST_F(Picking, NoCellIsPickedOnceTheContextIsGone) {
    CursorAt(Centre(2, 5));
    platform::Keys[27] = -1;
    pt::Double().left = true;
    Update();
    EXPECT_TRUE(QuitPosted());
    ExpectCell(game::HoverCell, -1, -1);
    EXPECT_EQ(rules::MoveDelay, 0);
}

struct View {
    int width, height;
    float tilt, turn;
};

// 4:3, 21:9 and 9:16 screens, the board seen from above, at the start and at steep angles.
constexpr View kViews[] = {
    {1024, 768, -45, 45},  {1024, 768, 0, 0},   {1680, 720, -30, 130},
    {1680, 720, -75, -20}, {540, 960, -45, 45}, {540, 960, -60, 250},
};

// Each cell reaches halfway to its neighbours, the outer ones as far beyond their centre:
// the centre and points just inside each side pick the cell, points just beyond pick the
// neighbour, or none past the board's outer cells.
TEST_F(Picking, EveryPointOfTheBoardsFacePicksTheCellItLiesIn) {
    constexpr double kInside = 0.45 - 0.02, kBeyond = 0.45 + 0.02;
    struct Probe {
        double dx, dy;
        int di, dj;
    };
    constexpr Probe kProbes[] = {
        {0, 0, 0, 0},         {kInside, 0, 0, 0},         {-kInside, 0, 0, 0},
        {0, kInside, 0, 0},   {0, -kInside, 0, 0},        {kInside, kInside, 0, 0},
        {kBeyond, 0, 1, 0},   {-kBeyond, 0, -1, 0},       {0, kBeyond, 0, 1},
        {0, -kBeyond, 0, -1}, {-kBeyond, kBeyond, -1, 1},
    };
    for (const View& v : kViews) {
        Resize(v.width, v.height);
        game::CameraTilt = v.tilt;
        game::CameraTurn = v.turn;
        for (int i = 1; i <= 6; ++i) {
            for (int j = 1; j <= 6; ++j) {
                for (const Probe& p : kProbes) {
                    const double x = 0.9 * i - 3.15 + p.dx, y = 0.9 * j - 3.15 + p.dy;
                    const game::WindowPoint w =
                        BoardPointOnScreen(x, y, 0, v.tilt, v.turn, v.width, v.height);
                    int ei = i + p.di, ej = j + p.dj;
                    if (ei < 1 || ei > 6 || ej < 1 || ej > 6) ei = ej = -1;
                    SCOPED_TRACE(::testing::Message()
                                 << v.width << "x" << v.height << " tilt " << v.tilt << " turn "
                                 << v.turn << ": board point " << x << ", " << y);
                    ExpectCell(game::PickCell({w.x, w.y}), ei, ej);
                }
            }
        }
    }
}

// A piece hides the board behind it: pointing at it is pointing at its cell, whose click is
// ignored, never a move on the neighbour's hollow it stands in front of. Past the narrow top
// of the piece, the board behind it shows, and is picked.
TEST_F(Picking, AStandingPieceCountsForItsOwnCellAndOnlyWhereItIsDrawn) {
    game::CameraTilt = -60.0f;
    game::CameraTurn = 0.0f;
    // Through the ball on top, and 0.2 units beside it, where only a cylinder round the whole
    // piece would reach.
    const game::WindowPoint ball = game::ProjectCellPoint(3, 3, engine::TVector3{0, -5.0f, 0});
    const game::WindowPoint beside = game::ProjectCellPoint(3, 3, engine::TVector3{2.0f, -5.0f, 0});
    ExpectCell(game::PickCell({ball.x, ball.y}), 3, 4);
    ExpectCell(game::PickCell({beside.x, beside.y}), 3, 4);

    for (const std::uint8_t value : {1, 2, 3, 4}) {
        rules::BoardAt(3, 3) = value;
        ExpectCell(game::PickCell({ball.x, ball.y}), 3, 3);
        ExpectCell(game::PickCell({beside.x, beside.y}), 3, 4);
    }
    CursorAt(ball);
    pt::Double().left = true;
    Update();
    ExpectCell(game::HoverCell, 3, 3);
    EXPECT_EQ(rules::MoveDelay, 0);
    EXPECT_EQ(rules::BoardAt(3, 4), 0);
}

// Off the board nothing is picked, and a view edge-on to the board, or a pointer far outside
// the window, gives a sane answer: no cell, or a cell on the board.
TEST_F(Picking, OffTheBoardAndSeenEdgeOnNothingOrACellIsPicked) {
    for (const View& v : kViews) {
        Resize(v.width, v.height);
        game::CameraTilt = v.tilt;
        game::CameraTurn = v.turn;
        for (const auto& [x, y] : {std::pair{2.8, 0.0}, {-2.8, 2.8}, {0.0, -3.5}, {6.0, 6.0}}) {
            const game::WindowPoint w =
                BoardPointOnScreen(x, y, 0, v.tilt, v.turn, v.width, v.height);
            ExpectCell(game::PickCell({w.x, w.y}), -1, -1);
        }
    }
    Resize(1024, 768);
    rules::BoardAt(2, 6) = 1;
    for (const float tilt : {-90.0f, -89.99f}) {
        game::CameraTilt = tilt;
        game::CameraTurn = 0.0f;
        for (int x = -8; x <= 1032; x += 8) {
            for (int y = -8; y <= 776; y += 8) {
                const Cell cell = game::PickCell({double(x), double(y)});
                EXPECT_TRUE(cell.i == -1 ||
                            (cell.i >= 1 && cell.i <= 6 && cell.j >= 1 && cell.j <= 6));
            }
        }
        // Edge-on the piece still stands above the board's line.
        const game::WindowPoint top = game::ProjectCellPoint(2, 6, engine::TVector3{0, -4.5f, 0});
        ExpectCell(game::PickCell({top.x, top.y}), 2, 6);
    }
    for (const double far : {1e9, -1e9, 1e300})
        ExpectCell(game::PickCell({far, far}), -1, -1);
}

} // namespace
