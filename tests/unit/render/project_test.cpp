#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/support/render/gl_test.h"
#include "tests/support/render/project.h"

namespace {

// The projection the picking tests aim with, checked on an 800 x 600 viewport under identity
// matrices.
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
    kxtest::ProjectToWindow({0, 0, 0}, x, y, depth);
    EXPECT_DOUBLE_EQ(x, 400);
    EXPECT_DOUBLE_EQ(y, 300);
    EXPECT_DOUBLE_EQ(depth, 0.5);
    kxtest::ProjectToWindow({0.5f, 0.25f, 0}, x, y, depth);
    EXPECT_DOUBLE_EQ(x, 600);
    EXPECT_DOUBLE_EQ(y, 300);
    EXPECT_DOUBLE_EQ(depth, 0.375);
}

} // namespace
