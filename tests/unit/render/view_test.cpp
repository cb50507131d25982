#include <GL/gl.h>
#include <gtest/gtest.h>

#include "render/view.h"
#include "tests/support/render/gl_test.h"

namespace {

// An 800 x 600 viewport under identity matrices.
class View : public kxtest::GlTest {
  protected:
    View() : GlTest(800, 600) {}
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlTest::SetUp());
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(View, ProjectionExchangesYAndZ) {
    double x, y, depth;
    render::ProjectToWindow({0, 0, 0}, x, y, depth);
    EXPECT_DOUBLE_EQ(x, 400);
    EXPECT_DOUBLE_EQ(y, 300);
    EXPECT_DOUBLE_EQ(depth, 0.5);
    render::ProjectToWindow({0.5f, 0.25f, 0}, x, y, depth);
    EXPECT_DOUBLE_EQ(x, 600);
    EXPECT_DOUBLE_EQ(y, 300);
    EXPECT_DOUBLE_EQ(depth, 0.375);
}

} // namespace
