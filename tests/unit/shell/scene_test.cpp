#include <GL/glu.h>

#include <array>
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

    rules::Pulse = 0;
    Draw();
    const Rgb light = CellPixel(1, 1), dark = CellPixel(1, 2);
    EXPECT_EQ(CellPixel(2, 1), light);
    EXPECT_EQ(CellPixel(2, 2), dark);
    EXPECT_GT(light.r, dark.r + 50);
    EXPECT_EQ(light.r, light.g);
    EXPECT_NE(light, CellPixel(4, 4)); // an empty cell shows the board

    // Half way: (0.8, 0.46, 0.46) and (0.4, 0.16, 0.16), lit alike.
    rules::Pulse = 500;
    Draw();
    const Rgb warm1 = CellPixel(2, 1), warm2 = CellPixel(2, 2);
    EXPECT_NEAR(warm1.r, light.r * 0.8 / 0.6, 3);
    EXPECT_NEAR(warm1.g, light.g * 0.46 / 0.6, 3);
    EXPECT_NEAR(warm2.r, dark.r * 0.4 / 0.25, 3);
    EXPECT_NEAR(warm2.g, dark.g * 0.16 / 0.25, 3);

    rules::Pulse = 1000;
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
    rules::PendingCell = {3, 3};
    rules::MoveDelay = 1000;
    EXPECT_EQ(Draw(), empty);

    rules::MoveDelay = 500;
    EXPECT_NE(Draw(), empty);

    // Landed: opaque on its cell, drawn exactly like a standing piece.
    rules::MoveDelay = 1;
    Draw();
    const Rgb falling = CellPixel(3, 3);
    rules::MoveDelay = 0;
    rules::BoardAt(3, 3) = 1;
    Draw();
    const Rgb standing = CellPixel(3, 3);
    EXPECT_NEAR(falling.r, standing.r, 2);
}

TEST_F(SceneTest, PreviewIsDrawnOnlyWhileNoMoveIsPending) {
    const auto empty = Draw();
    const Rgb board = CellPixel(3, 3);
    game::HoverCell = {3, 3};
    Draw();
    const Rgb preview1 = CellPixel(3, 3);
    EXPECT_NE(preview1, board);

    rules::CurrentPlayer = 2;
    Draw();
    const Rgb preview2 = CellPixel(3, 3);
    EXPECT_LT(preview2.r, preview1.r);

    rules::PendingCell = {5, 5};
    rules::MoveDelay = 1000;
    EXPECT_EQ(Draw(), empty);
}

// The keyboard cursor's outline: a yellow band between black ones round the foot of a light
// and of a dark piece alike; none over the help page.
TEST_F(SceneTest, CursorOutlineShowsRoundLightAndDarkPieces) {
    game::PieceList = FlatList(3.2f, 1.0f, false); // a foot about as wide as the real piece's
    rules::BoardAt(2, 2) = 1;
    rules::BoardAt(5, 5) = 2;
    game::KeyboardInUse = true;
    for (const rules::Cell cell : {rules::Cell{2, 2}, rules::Cell{5, 5}}) {
        game::KeyCursor = cell;
        Draw();
        const auto at = [&](float x) {
            const game::WindowPoint w =
                game::ProjectCellPoint(cell.i, cell.j, engine::TVector3{x, 0.0f, 0.0f});
            return Pixel(static_cast<int>(w.x), static_cast<int>(w.y));
        };
        for (const float dark : {3.55f, 4.35f})
            EXPECT_LT(at(dark).r + at(dark).g + at(dark).b, 60) << at(dark);
        const Rgb light = at(3.95f);
        EXPECT_GT(light.r, 200) << light;
        EXPECT_LT(light.b, 80) << light;
    }
    game::HelpShown = true;
    const auto help = Draw();
    game::KeyboardInUse = false;
    EXPECT_EQ(Draw(), help);
}

// The piece that landed last has a light ring between dark bands at its foot, on all four
// sides and as bright as it is drawn, shadows notwithstanding; it moves with each landing,
// goes back with an undo, and shows on no empty or unknown cell.
TEST_F(SceneTest, TheLastMoveIsRingedTillTheNextLandingAndAnUndoTakesTheRingBack) {
    game::PieceList = FlatList(3.2f, 1.0f, false); // a foot about as wide as the real piece's
    rules::SeatIsComputer = {false, false, false};
    const auto ringed = [](rules::Cell cell) {
        int sides = 0;
        for (const auto& [x, y] :
             {std::pair{1.0f, 0.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, -1.0f}}) {
            const Rgb band = ModelPixel(cell.i, cell.j, 4.07f * x, 4.07f * y, 0.35f);
            const Rgb inner = ModelPixel(cell.i, cell.j, 3.8f * x, 3.8f * y, 0.3f);
            const Rgb outer = ModelPixel(cell.i, cell.j, 4.37f * x, 4.37f * y, 0.3f);
            sides += std::abs(band.r - 140) < 4 && band.g > 225 && band.b > 250 &&
                     inner.r + inner.g + inner.b < 60 && outer.r + outer.g + outer.b < 60;
        }
        return sides;
    };
    const rules::Cell first{2, 2}, second{5, 4};
    Draw();
    EXPECT_EQ(ringed(first), 0) << "a ring before the first move";
    rules::LandMove(first);
    Draw();
    EXPECT_EQ(ringed(first), 4);
    rules::LandMove(second);
    Draw();
    EXPECT_EQ(ringed(second), 4);
    EXPECT_EQ(ringed(first), 0);
    ASSERT_TRUE(rules::UndoMove());
    Draw();
    EXPECT_EQ(ringed(first), 4);
    EXPECT_EQ(ringed(second), 0);
    ASSERT_TRUE(rules::UndoMove());
    Draw();
    EXPECT_EQ(ringed(first), 0);

    rules::Moves[0] = {{3, 3}, 1}; // a move whose cell stands empty, or lies off the board
    rules::MovesPlayed = 1;
    Draw();
    EXPECT_EQ(ringed({3, 3}), 0);
    rules::Moves[0] = {{7, -3}, 1};
    const auto offBoard = Draw();
    rules::MovesPlayed = 0;
    EXPECT_EQ(Draw(), offBoard);
}

// A closed box standing in for a piece, with a shelf inside it as the piece's body has under
// its collar: the floor and the shelf listed first, every face counter-clockwise from outside.
GLuint BoxList(float half, float height) {
    const float h = half, z = height, s = half / 2, m = height / 2;
    const GLfloat faces[7][4][3] = {{{-h, -h, 0}, {-h, h, 0}, {h, h, 0}, {h, -h, 0}},
                                    {{-s, -s, m}, {s, -s, m}, {s, s, m}, {-s, s, m}},
                                    {{-h, -h, 0}, {h, -h, 0}, {h, -h, z}, {-h, -h, z}},
                                    {{h, -h, 0}, {h, h, 0}, {h, h, z}, {h, -h, z}},
                                    {{h, h, 0}, {-h, h, 0}, {-h, h, z}, {h, h, z}},
                                    {{-h, h, 0}, {-h, -h, 0}, {-h, -h, z}, {-h, h, z}},
                                    {{-h, -h, z}, {h, -h, z}, {h, h, z}, {-h, h, z}}};
    const GLfloat normals[7][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0}, {1, 0, 0},
                                   {0, 1, 0},  {-1, 0, 0}, {0, 0, 1}};
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    for (int f = 0; f < 7; ++f) {
        glNormal3f(normals[f][0] * 0.1f, normals[f][1] * 0.1f, normals[f][2] * 0.1f);
        for (const auto& v : faces[f])
            glVertex3fv(v);
    }
    glEnd();
    glEndList();
    return list;
}

// The preview and the falling piece at half strength are one layer of piece over the board:
// what lies behind the lid, the shelf and the floor, does not blend in as more layers.
TEST_F(SceneTest, TranslucentPiecesShowOnlyTheirNearSurface) {
    game::TexWood = Solid(0, 0, 255); // a blue board, unlike any grey
    game::PieceList = BoxList(3.0f, 4.0f);
    const engine::TVector3 lid{0.0f, -4.0f, 0.0f}, fallingLid{0.0f, -14.0f, 0.0f};
    const auto at = [](const engine::TVector3& p) {
        const game::WindowPoint w = game::ProjectCellPoint(3, 3, p);
        return Pixel(static_cast<int>(w.x), static_cast<int>(w.y));
    };
    Draw();
    const Rgb board = at(lid), boardBehindFalling = at(fallingLid);
    rules::BoardAt(3, 3) = 1;
    Draw();
    const Rgb piece = at(lid);
    rules::BoardAt(3, 3) = 0;

    game::HoverCell = {3, 3};
    Draw();
    const Rgb preview = at(lid);
    game::HoverCell = {};
    rules::PendingCell = {3, 3};
    rules::MoveDelay = 500; // half faded in, 1 unit above the board
    Draw();
    const Rgb falling = at(fallingLid);
    for (const auto& [seen, behind] : {std::pair{preview, board}, {falling, boardBehindFalling}}) {
        EXPECT_NEAR(seen.r, (piece.r + behind.r) / 2, 3) << seen;
        EXPECT_NEAR(seen.g, (piece.g + behind.g) / 2, 3) << seen;
        EXPECT_NEAR(seen.b, (piece.b + behind.b) / 2, 3) << seen;
    }
}

// Each standing piece darkens the board round its foot, most at the foot, fading out past the
// cell's side, and not over the rounded edge beyond the board's flat face.
TEST_F(SceneTest, ContactShadowsFadeOutRoundTheFootAndStayOnTheFlatFace) {
    game::PieceList = FlatList(3.2f, 1.0f, false);
    const auto brightness = [](float x) {
        const Rgb c = ModelPixel(1, 3, x, 0.0f);
        return c.r + c.g + c.b;
    };
    const std::array<float, 4> distances{3.7f, 4.05f, 4.4f, 6.0f};
    Draw();
    std::array<int, 4> bare{};
    for (std::size_t k = 0; k < distances.size(); ++k)
        bare[k] = brightness(distances[k]);
    const int edge = ModelPixel(1, 3, -4.0f, 0.0f).r; // 26.5 from the centre: the rounded edge

    rules::BoardAt(1, 3) = 2;
    Draw();
    std::array<int, 4> shaded{};
    for (std::size_t k = 0; k < distances.size(); ++k)
        shaded[k] = brightness(distances[k]);
    EXPECT_LT(shaded[0], bare[0] * 0.7);
    EXPECT_LT(shaded[0], shaded[1]);
    EXPECT_LT(shaded[1], shaded[2]);
    EXPECT_LT(shaded[2], bare[2]);
    EXPECT_EQ(shaded[3], bare[3]);
    EXPECT_EQ(ModelPixel(1, 3, -4.0f, 0.0f).r, edge);
}

TEST_F(SceneTest, LeavesThePerspectiveAndStateTheNextFrameReliesOn) {
    game::HoverCell = {2, 2};
    game::HelpShown = true;
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
    rules::Pulse = 300;
    game::HoverCell = {4, 4};
    game::MenuOffset = 120;
    game::CameraTilt = -45.0f;
    game::CameraTurn = 45.0f;
    EXPECT_EQ(Draw(), Draw());
}

} // namespace
