#include <gtest/gtest.h>

#include <filesystem>

#include "archive/workspace.h"
#include "base/failure.h"
#include "base/report.h"
#include "base/way_out.h"
#include "engine/store.h"
#include "platform/message_queue.h"
#include "platform/platform_double.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "shell/app.h"
#include "shell/window.h"
#include "tests/support/game/layers.h"

    namespace {

    namespace pt = platform::testing;
    using platform::ContextResult;
    using platform::Size;

    class Startup : public ::testing::Test {
      protected:
        void SetUp() override {
            kxtest::ResetLayers();
            shell::state.MainWindow = false;
        }
        void TearDown() override {
            platform::ClearMessages();
            pt::ResetDouble();
        }
    };

    TEST(DisplaySize, SmallDisplaysFallBackTo640By480) {
        auto check = [](Size display, Size expected) {
            const Size got = shell::WindowSizeForDisplay(display);
            EXPECT_EQ(got.width, expected.width) << display.width << "x" << display.height;
            EXPECT_EQ(got.height, expected.height) << display.width << "x" << display.height;
        };
        check({1920, 1080}, {1920, 1080});
        check({800, 399}, {640, 480});
        check({499, 1000}, {640, 480});
        check({500, 400}, {500, 400});
        check({0, 0}, {640, 480});
    }

    struct ContextFailure {
        ContextResult result;
        const char* text;
    };

    class ContextSetup : public Startup, public ::testing::WithParamInterface<ContextFailure> {};

    TEST_P(ContextSetup, EachFailedStepShowsItsBoxQueuesQuitAndSkipsTheScene) {
        ASSERT_TRUE(platform::CreateMainWindow("t", 0, 0, 64, 48));
        pt::Double().contextResult = GetParam().result;
        render::state.ViewportWidth = 0;
        EXPECT_FALSE(shell::CreateContextAndScene());
        ASSERT_EQ(pt::Double().boxes.size(), 1u);
        EXPECT_EQ(pt::Double().boxes[0].caption, "Error");
        EXPECT_EQ(pt::Double().boxes[0].text, GetParam().text);
        const auto message = platform::TakeMessage();
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->kind, platform::MessageKind::Quit);
    }

    INSTANTIATE_TEST_SUITE_P(
        FourSteps, ContextSetup,
        ::testing::Values(
            ContextFailure{ContextResult::NoPixelFormat, "Cant't Find A Suitable PixelFormat."},
            ContextFailure{ContextResult::SetPixelFormatFailed, "Can't Set The PixelFormat."},
            ContextFailure{ContextResult::NoContext, "Can't Create A GL Rendering Context."},
            ContextFailure{ContextResult::MakeCurrentFailed, "Can't activate GLRC."}));

    TEST_F(Startup, NoDisplayEndsWithTheRegistrationBoxAndExitCode1) {
        pt::Double().initOk = false;
        EXPECT_EQ(shell::RunProgram(), 1);
        ASSERT_EQ(pt::Double().boxes.size(), 1u);
        EXPECT_EQ(pt::Double().boxes[0].text, "Failed To Register The Window Class.");
        EXPECT_EQ(pt::Double().splashShown, 0);
    }

    TEST_F(Startup, AWindowThatCannotBeCreatedEndsWithExitCode1) {
        pt::Double().createWindowOk = false;
        EXPECT_EQ(shell::RunProgram(), 1);
        ASSERT_EQ(pt::Double().boxes.size(), 1u);
        EXPECT_EQ(pt::Double().boxes[0].caption, "Error");
        EXPECT_EQ(pt::Double().boxes[0].text, "Window Creation Error.");
        EXPECT_EQ(pt::Double().splashShown, 1);
        EXPECT_FALSE(shell::state.MainWindow);
    }

    TEST_F(Startup, AFailedContextShowsTheWindowBrieflyThenQuitsWithExitCode1) {
        pt::Double().contextResult = ContextResult::NoContext;
        pt::Double().desktop = {800, 399};
        EXPECT_EQ(shell::RunProgram(), 1);
        EXPECT_EQ(platform::state.ScreenWidth, 640);
        EXPECT_EQ(platform::state.ScreenHeight, 480);
        EXPECT_TRUE(shell::state.MainWindow);
        EXPECT_EQ(pt::Double().splashHidden, 1);
        EXPECT_EQ(pt::Double().windowShown, 1);
        EXPECT_EQ(pt::Double().swaps, 0);
    }

    // The test program stands in for the game. With no archive beside it the loading fails after
    // the workspace was made, and the failure takes the workspace with it, as a normal end does.
    TEST_F(Startup, AFailedLoadLeavesNoTempBehind) {
        const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        if (archive::FindArchive(folder.string()) != "adatok.vbf" ||
            std::filesystem::exists(folder / "adatok.vbf"))
            GTEST_SKIP() << "an archive lies where the test program would find it";
        pt::Double().desktop = {640, 480};
        const auto before = std::filesystem::current_path();
        EXPECT_EQ(shell::RunProgram(), 1);
        const std::string missing =
            "Bigfile(adatok.vbf) is missing or blocked by another application!";
        ASSERT_EQ(pt::Double().boxes.size(), 2u);
        EXPECT_EQ(pt::Double().boxes[0].text, missing);
        EXPECT_EQ(pt::Double().boxes[1].caption, "Application Error");
        EXPECT_EQ(pt::Double().boxes[1].text, "Input/output failure: " + missing);
        EXPECT_TRUE(archive::state.TempWorkspace.path.empty());
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(folder / "Temp")));
        EXPECT_EQ(std::filesystem::current_path(), before)
            << "the current directory is never changed";
        archive::state.ExeFileName.clear();
    }

    // A signal while the game loads ends it as a close does: no box, exit code 0, and every
    // cleanup run.
    TEST_F(Startup, ASignalBeforeOrDuringLoadingEndsTheRunAsIfClosed) {
        base::QuitRequested = true;
        EXPECT_EQ(shell::RunProgram(), 0);
        EXPECT_TRUE(pt::Double().boxes.empty());
        EXPECT_EQ(pt::Double().splashShown, 0);

        pt::Double().desktop = {640, 480};
        base::QuitRequested = false;
        ASSERT_TRUE(platform::CreateMainWindow("t", 0, 0, 64, 48));
        base::QuitRequested = true;
        EXPECT_THROW(shell::InitScene(64, 48), base::QuitRequest);
        base::RunExitCleanups(base::Ending::Normal);
        EXPECT_TRUE(archive::state.TempWorkspace.path.empty());
        EXPECT_EQ(pt::Double().windowsDestroyed, 1);
        base::QuitRequested = false;
        archive::state.ExeFileName.clear();
    }

    // A signal during play reaches the loop as a close: teardown, then the loop ends.
    TEST_F(Startup, ASignalDuringPlayIsAClose) {
        ASSERT_TRUE(pt::OpenHiddenGlWindow(64, 48));
        base::QuitRequested = true;
        EXPECT_TRUE(shell::LoopPass());
        EXPECT_FALSE(platform::HasGlContext());
        EXPECT_FALSE(shell::LoopPass());
        base::QuitRequested = false;
    }

    TEST_F(Startup, AnEngineReportShowsItsBoxAndEmptiesTheStores) {
        engine::EngineInit();
        engine::NewObject(0, 1, 3, 0);
        shell::InstallHooks();
        base::ShowEngineError("something broke");
        ASSERT_EQ(pt::Double().boxes.size(), 1u);
        EXPECT_EQ(pt::Double().boxes[0].caption, "VEngine internal error");
        EXPECT_EQ(pt::Double().boxes[0].text, "something broke");
        EXPECT_EQ(engine::ObjectCount(), 0);
        EXPECT_EQ(engine::NewObject(0, 0, 0, 0), 0);
    }

} // namespace
