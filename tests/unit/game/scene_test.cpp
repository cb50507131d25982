#include <GL/glu.h>

#include <cmath>
#include <utility>

#include "game/state.h"
#include "rules/history.h"
#include "rules/rules.h"
#include "scene_fixture.h"

namespace {

TEST_F(SceneTest, BackdropIsDimmedToThirtyPercent) {
    Draw();
    const Rgb corner = Pixel(5, 5);
    EXPECT_NEAR(corner.r, 77, 2);
    EXPECT_EQ(corner.r, corner.g);
    EXPECT_EQ(corner.r, corner.b);
}

TEST_F(SceneTest, PiecesShowTheirPlayersGreyAndTheCompletedSquarePulsesRed) {
    rules::BoardAt(1, 1) = 1;
    rules::BoardAt(2, 1) = 3;
    rules::BoardAt(1, 2) = 2;
    rules::BoardAt(2, 2) = 4;

    rules::state.Pulse = 0;
    Draw();
    const Rgb light = CellPixel(1, 1), dark = CellPixel(1, 2);
    EXPECT_EQ(CellPixel(2, 1), light);
    EXPECT_EQ(CellPixel(2, 2), dark);
    EXPECT_GT(light.r, dark.r + 50);
    EXPECT_EQ(light.r, light.g);
    EXPECT_NE(light, CellPixel(4, 4)); // an empty cell shows the board

    // Half way: (0.8, 0.46, 0.46) and (0.4, 0.16, 0.16), lit alike.
    rules::state.Pulse = 500;
    Draw();
    const Rgb warm1 = CellPixel(2, 1), warm2 = CellPixel(2, 2);
    EXPECT_NEAR(warm1.r, light.r * 0.8 / 0.6, 3);
    EXPECT_NEAR(warm1.g, light.g * 0.46 / 0.6, 3);
    EXPECT_NEAR(warm2.r, dark.r * 0.4 / 0.25, 3);
    EXPECT_NEAR(warm2.g, dark.g * 0.16 / 0.25, 3);

    rules::state.Pulse = 1000;
    Draw();
    EXPECT_EQ(CellPixel(1, 1), light);
    const Rgb hot1 = CellPixel(2, 1), hot2 = CellPixel(2, 2);
    // At the peak both are red, and the winner's shade still shows: the light pieces stay
    // clearly lighter than the dark ones.
    for (const Rgb& hot : {hot1, hot2}) {
        EXPECT_GT(hot.r, hot.g + 100) << hot;
        EXPECT_EQ(hot.g, hot.b) << hot;
    }
    const auto luminance = [](const Rgb& c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; };
    EXPECT_GT(luminance(hot1), luminance(hot2) + 60) << hot1 << " " << hot2;
}

TEST_F(SceneTest, FallingPieceFadesInFromInvisible) {
    const auto empty = Draw();
    rules::state.PendingCell = {3, 3};
    rules::state.MoveDelay = 1000;
    EXPECT_EQ(Draw(), empty);

    rules::state.MoveDelay = 500;
    EXPECT_NE(Draw(), empty);

    // Landed: opaque on its cell, drawn exactly like a standing piece.
    rules::state.MoveDelay = 1;
    Draw();
    const Rgb falling = CellPixel(3, 3);
    rules::state.MoveDelay = 0;
    rules::BoardAt(3, 3) = 1;
    Draw();
    const Rgb standing = CellPixel(3, 3);
    EXPECT_NEAR(falling.r, standing.r, 2);
}

TEST_F(SceneTest, PreviewIsDrawnOnlyWhileNoMoveIsPending) {
    const auto empty = Draw();
    const Rgb board = CellPixel(3, 3);
    game::state.HoverCell = {3, 3};
    Draw();
    const Rgb preview1 = CellPixel(3, 3);
    EXPECT_NE(preview1, board);

    rules::state.CurrentPlayer = 2;
    Draw();
    const Rgb preview2 = CellPixel(3, 3);
    EXPECT_LT(preview2.r, preview1.r);

    rules::state.PendingCell = {5, 5};
    rules::state.MoveDelay = 1000;
    EXPECT_EQ(Draw(), empty);
}

// The keyboard cursor's outline: a yellow band between black ones round the foot of a light
// and of a dark piece alike; none over the help page.
TEST_F(SceneTest, CursorOutlineShowsRoundLightAndDarkPieces) {
    game::state.PieceList = FlatList(3.2f, 1.0f, false); // a foot about as wide as the real piece's
    rules::BoardAt(2, 2) = 1;
    rules::BoardAt(5, 5) = 2;
    game::state.KeyboardInUse = true;
    for (const rules::Cell cell : {rules::Cell{2, 2}, rules::Cell{5, 5}}) {
        game::state.KeyCursor = cell;
        Draw();
        const auto at = [&](float x) {
            const kxtest::WindowPoint w =
                kxtest::ProjectCellPoint(cell.i, cell.j, engine::TVector3{x, 0.0f, 0.0f});
            return Pixel(static_cast<int>(w.x), static_cast<int>(w.y));
        };
        for (const float dark : {3.55f, 4.35f})
            EXPECT_LT(at(dark).r + at(dark).g + at(dark).b, 60) << at(dark);
        const Rgb light = at(3.95f);
        EXPECT_GT(light.r, 200) << light;
        EXPECT_LT(light.b, 80) << light;
    }
    game::state.HelpShown = true;
    const auto help = Draw();
    game::state.KeyboardInUse = false;
    EXPECT_EQ(Draw(), help);
}

// The piece that landed last has a light ring between dark bands at its foot, as bright as it
// is drawn, shadows notwithstanding; it moves with each landing, goes back with an undo, and
// shows on no empty cell.
TEST_F(SceneTest, TheLastMoveIsRingedTillTheNextLandingAndAnUndoTakesTheRingBack) {
    game::state.PieceList = FlatList(3.2f, 1.0f, false);
    rules::state.SeatIsComputer = {false, false, false};
    const auto ringedSides = [](rules::Cell c) {
        Draw();
        int sides = 0;
        for (const auto& [x, y] :
             {std::pair{1.0f, 0.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, -1.0f}}) {
            const Rgb band = ModelPixel(c.i, c.j, 4.07f * x, 4.07f * y, 0.35f);
            const Rgb edge = ModelPixel(c.i, c.j, 4.37f * x, 4.37f * y, 0.3f);
            sides += std::abs(band.r - 140) < 4 && band.b > 250 && edge.r + edge.g + edge.b < 60;
        }
        return sides;
    };
    const rules::Cell first{2, 2}, second{5, 4};
    EXPECT_EQ(ringedSides(first), 0) << "a ring before the first move";
    rules::LandMove(first);
    EXPECT_EQ(ringedSides(first), 4);
    rules::LandMove(second);
    EXPECT_EQ(ringedSides(second), 4);
    EXPECT_EQ(ringedSides(first), 0);
    ASSERT_TRUE(rules::UndoMove());
    EXPECT_EQ(ringedSides(first), 4);
    ASSERT_TRUE(rules::UndoMove());
    EXPECT_EQ(ringedSides(first), 0);
    rules::state.Moves[0] = {{3, 3}, 1}; // a last move whose cell stands empty
    rules::state.MovesPlayed = 1;
    EXPECT_EQ(ringedSides({3, 3}), 0);
}

// The preview is one half-strength layer of piece over the board: a surface behind the near
// one, as the piece's body has under its collar, does not blend in too.
TEST_F(SceneTest, TranslucentPieceShowsOnlyItsNearSurface) {
    game::state.TexWood = Solid(0, 0, 255); // a blue board, unlike any grey
    const GLuint shelf = FlatList(1.5f, 2.0f, false), top = FlatList(3.0f, 4.0f, false);
    game::state.PieceList = glGenLists(1);
    glNewList(game::state.PieceList, GL_COMPILE);
    glCallList(shelf);
    glCallList(top);
    glEndList();
    const auto lid = [] {
        Draw();
        return ModelPixel(3, 3, 0.0f, 0.0f, 4.0f);
    };
    const Rgb board = lid();
    rules::BoardAt(3, 3) = 1;
    const Rgb piece = lid();
    rules::BoardAt(3, 3) = 0;
    game::state.HoverCell = {3, 3};
    const Rgb preview = lid();
    EXPECT_NEAR(preview.r, (piece.r + board.r) / 2, 2) << preview;
    EXPECT_NEAR(preview.b, (piece.b + board.b) / 2, 2) << preview;
}

TEST_F(SceneTest, LeavesThePerspectiveAndStateTheNextFrameReliesOn) {
    game::state.HoverCell = {2, 2};
    game::state.HelpShown = true;
    Draw();

    GLdouble projection[16], expected[16], model[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, static_cast<float>(kWidth) / kHeight, 0.1, 1000.0);
    glGetDoublev(GL_PROJECTION_MATRIX, expected);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int n = 0; n < 16; ++n) {
        EXPECT_DOUBLE_EQ(projection[n], expected[n]) << n;
        EXPECT_DOUBLE_EQ(model[n], n % 5 == 0 ? 1.0 : 0.0) << n;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(SceneTest, SameStateDrawsTheSamePicture) {
    rules::BoardAt(1, 6) = 2;
    rules::BoardAt(6, 1) = 4;
    rules::state.Pulse = 300;
    game::state.HoverCell = {4, 4};
    game::state.MenuOffset = 120;
    game::state.CameraTilt = -45.0f;
    game::state.CameraTurn = 45.0f;
    EXPECT_EQ(Draw(), Draw());
}

} // namespace
