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
    // Where the centre of cell (i, j)'s hover circle lies in the window, y upwards.
    static game::WindowPoint Centre(int i, int j) {
        return game::ProjectCellPoint(i, j, engine::TVector3{0.0f, -10.0f, 0.0f});
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
    // The middle of the board lies between four cells' boxes.
    const game::WindowPoint middle =
        game::ProjectCellPoint(3, 3, engine::TVector3{4.5f, -10.0f, 4.5f});
    ExpectCell(game::PickCell({middle.x, middle.y}), -1, -1);
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
    // A cell under the open panel (from 824) but clear of the closed one: the board keeps its
    // room at 4:3, so only some turns and tilts bring a cell that far right.
    Cell under;
    for (int view = 0; view < 19 * 72 && under.i == -1; ++view) {
        game::CameraTilt = -90.0f + 5.0f * static_cast<float>(view / 72);
        game::CameraTurn = 5.0f * static_cast<float>(view % 72);
        for (int n = 0; n < 36 && under.i == -1; ++n) {
            const double x = Centre(n % 6 + 1, n / 6 + 1).x * 1024 / 400;
            if (x > 830 && x < 975) under = Cell{n % 6 + 1, n / 6 + 1};
        }
    }
    ASSERT_NE(under.i, -1);
    CursorAt(Centre(under.i, under.j));
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
    platform::SendMessage({platform::MessageKind::KeyDown, 27});
    pt::Double().left = true;
    Update();
    EXPECT_TRUE(QuitPosted());
    ExpectCell(game::HoverCell, -1, -1);
    EXPECT_EQ(rules::MoveDelay, 0);
}

} // namespace
