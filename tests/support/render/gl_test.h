// A test that draws: empty engine stores and a fresh platform double whose hidden window, of the
// size given, has a current GL context (a real one: the test command runs the tests under Xvfb).
#pragma once

#include <gtest/gtest.h>

#include "engine/store.h"
#include "platform/platform_double.h"

namespace kxtest {

class GlTest : public ::testing::Test {
  protected:
    explicit GlTest(int width = 64, int height = 64) : glWidth_(width), glHeight_(height) {}

    void SetUp() override {
        platform::testing::ResetDouble();
        engine::EngineInit();
        ASSERT_TRUE(platform::testing::OpenHiddenGlWindow(glWidth_, glHeight_));
    }
    void TearDown() override {
        engine::EngineReset();
        platform::testing::ResetDouble();
    }

  private:
    int glWidth_;
    int glHeight_;
};

} // namespace kxtest
