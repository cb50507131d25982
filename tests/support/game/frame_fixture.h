// A game at its start values on a 1024 x 768 screen, where screen pixels and
// virtual-screen units coincide (y flipped), driven through the platform double.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "game/frame.h"
#include "game/state.h"
#include "platform/message_queue.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/squares.h"
#include "rules/state.h"
#include "tests/support/game/layers.h"

namespace pt = platform::testing;

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kxtest::ResetLayers();
        rules::state.SquareTable = rules::DeriveSquares();
        platform::state.ScreenWidth = 1024;
        platform::state.ScreenHeight = 768;
        render::state.ViewportWidth = 1024;
        render::state.ViewportHeight = 768;
        pt::Double().tick = 50000;
    }
    void TearDown() override {
        platform::ClearMessages();
        platform::state.Keys.fill(0);
        pt::ResetDouble();
    }

    // A hidden window of the same size with a current GL context and the scene's viewport.
    static void OpenWindow() {
        ASSERT_TRUE(pt::OpenHiddenGlWindow(1024, 768));
        render::ResizeScene(1024, 768);
    }
    // Places the cursor so that the pointer lands on (x, y) of the virtual screen.
    static void PointAt(int x, int y) {
        pt::Double().cursorX = x;
        pt::Double().cursorY = 768 - y;
    }
    // Holds the right button down with the pointer on (x, y).
    static void HoldRightAt(int x, int y) {
        PointAt(x, y);
        pt::Double().right = true;
    }
    // Holds the left button down for this many polls of its state, then lets it go.
    static void PressLeftFor(int polls) {
        pt::Double().left = true;
        pt::Double().releaseLeftAfterPolls = polls;
    }
    // One update after ms milliseconds.
    static void Update(std::uint32_t ms = 10) {
        pt::Double().tick += ms;
        game::UpdateFrame();
    }
    // Opens the panel fully and keeps the pointer in it.
    static void OpenPanel() {
        game::state.MenuOffset = 200;
        PointAt(1000, 740);
    }
    static bool QuitPosted() {
        while (platform::PeekMessage()) {
            if (platform::TakeMessage()->kind == platform::MessageKind::Quit) return true;
        }
        return false;
    }
};
