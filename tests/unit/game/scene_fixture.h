// A hidden 1023 x 767 GL window, so that one virtual-screen unit is one pixel,
// with the scene's GL state, solid-colour pictures in every texture slot and
// flat stand-ins for the board and piece models.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/store.h"
#include "game/draw.h"
#include "game/state.h"
#include "render/board_marks.h"
#include "render/view.h"
#include "rules/state.h"
#include "tests/support/game/cell_point.h"
#include "tests/support/render/gl_test.h"

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

class SceneTest : public kxtest::GlTest {
  protected:
    static constexpr int kWidth = 1023;
    static constexpr int kHeight = 767;

    SceneTest() : GlTest(kWidth, kHeight) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlTest::SetUp());
        game::ResetGameState();
        rules::ResetRulesState();
        game::state.CameraTilt = 0.0f; // looking straight down on the board
        game::state.CameraTurn = 0.0f;

        glClearColor(0, 0, 0, 0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT1);
        glLightfv(GL_LIGHT1, GL_AMBIENT, render::LightAmbient.data());
        glLightfv(GL_LIGHT1, GL_DIFFUSE, render::LightDiffuse.data());
        render::ResetRenderState();
        render::ResizeScene(kWidth, kHeight);
        render::MakeShadowTexture();

        game::state.TexWood = Solid(255, 255, 255);
        game::state.TexWood2 = Solid(255, 255, 255);
        game::state.TexHelp = Solid(0, 0, 255);
        game::state.TexBackground = Solid(255, 255, 255);
        game::state.TexMenuMark = Solid(255, 0, 0);
        game::state.TexMenu = Solid(0, 255, 0);
        game::state.TexComputer = Solid(0, 255, 255);
        game::state.TexHuman = Solid(255, 255, 0);
        game::state.TexStrength = Solid(255, 0, 255);
        game::state.TexMark = Solid(128, 0, 0);
        game::state.TexEmpty = Solid(0, 0, 128);
        game::state.BoardList = FlatList(27.5f, 0.0f, true);
        game::state.PieceList = FlatList(4.0f, 1.0f, false);
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // A 2 x 2 picture of one colour in a new texture slot.
    static std::int32_t Solid(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        const std::array<std::uint8_t, 12> texels{r, g, b, r, g, b, r, g, b, r, g, b};
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        engine::state.Textures.push_back(name);
        return engine::TextureCount() - 1;
    }

    // A square of half-side `half` model units at height z, facing up; the board's own
    // list sets its colour as the real one does.
    static GLuint FlatList(float half, float z, bool ownColour) {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_QUADS);
        if (ownColour) glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
        glNormal3f(0.0f, 0.0f, 0.1f); // unit length once scaled by the scene's 0.1
        glTexCoord2f(0, 0);
        glVertex3f(-half, -half, z);
        glTexCoord2f(1, 0);
        glVertex3f(half, -half, z);
        glTexCoord2f(1, 1);
        glVertex3f(half, half, z);
        glTexCoord2f(0, 1);
        glVertex3f(-half, half, z);
        glEnd();
        glEndList();
        return list;
    }

    static Rgb Pixel(int x, int y) {
        std::array<std::uint8_t, 3> p{};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p.data());
        return {p[0], p[1], p[2]};
    }

    struct Spot {
        int x, y;
        Rgb colour;
    };
    // The pixel at each spot has the spot's colour.
    static void ExpectPixels(std::initializer_list<Spot> spots) {
        for (const Spot& spot : spots)
            EXPECT_EQ(Pixel(spot.x, spot.y), spot.colour) << spot.x << ", " << spot.y;
    }

    // The pixel at the centre of cell (i, j) on the board's plane.
    static Rgb CellPixel(int i, int j) {
        const kxtest::WindowPoint w = kxtest::ProjectCellPoint(i, j, engine::TVector3{});
        return Pixel(static_cast<int>(w.x), static_cast<int>(w.y));
    }

    // The pixel of the point (x, y, z) of the board's model space, taken from cell (i, j)'s centre.
    static Rgb ModelPixel(int i, int j, float x, float y, float z = 0.0f) {
        const kxtest::WindowPoint w = kxtest::ProjectCellPoint(i, j, engine::TVector3{x, -z, y});
        return Pixel(static_cast<int>(w.x), static_cast<int>(w.y));
    }

    static std::vector<std::uint8_t> Frame() {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static std::vector<std::uint8_t> Draw() {
        game::DrawScene();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return Frame();
    }
};
