#include "shell/app.h"

#include <cstdio>
#include <exception>
#include <new>

#include "archive/workspace.h"
#include "base/failure.h"
#include "base/report.h"
#include "base/way_out.h"
#include "engine/store.h"
#include "game/draw.h"
#include "game/frame.h"
#include "game/redraw.h"
#include "platform/message_queue.h"
#include "platform/window_state.h"
#include "rules/random.h"
#include "shell/pacing.h"
#include "shell/splash.h"
#include "shell/window.h"

namespace shell {

FrameHooks Frame{game::UpdateFrame, game::DrawScene};

namespace {

// The longest sleep of a hidden or resting window's loop between two looks at the queue.
constexpr int kIdleWaitMs = 250;

} // namespace

platform::Size WindowSizeForDisplay(platform::Size display) {
    if (display.width < 500 || display.height < 400)
        return {platform::kFallbackWidth, platform::kFallbackHeight};
    return display;
}

void InstallHooks() {
    base::InstallReportHooks(
        {[](const std::string& text) { platform::MessageBox("VEngine internal error", text); },
         ReleaseEngineWindow});
    platform::InstallWindowProcedure(MainWindowProc);
    // What every way out undoes, run newest first: the workspace (files only, so also when the
    // display is gone), the GL context, the windows.
    base::AtExit(platform::DestroyWindows, base::OnError::Skip);
    base::AtExit(platform::ReleaseGlContext, base::OnError::Skip);
    base::AtExit(archive::TearDownWorkspace, base::OnError::Run);
}

bool LoopPass() {
    if (platform::PeekMessage()) {
        const auto message = platform::TakeMessage();
        if (message->kind == platform::MessageKind::Quit) return false;
        MainWindowProc(*message);
        return true;
    }
    // Nobody sees a hidden or minimised window, and a window where nothing moves and no
    // input came in would show the same picture again: the loop sleeps until the system has
    // news instead of burning a core on frames. The time slept is no game time.
    if (!platform::MainWindowVisible() || !game::FrameWanted()) {
        platform::WaitForEvents(kIdleWaitMs);
        game::SkipWaitedTime();
        return true;
    }
    const int early = MsUntilFrameDue(platform::TickCount(), platform::RefreshRate());
    if (early > 0) {
        platform::WaitForEvents(early);
        return true;
    }
    NoteFrameStart(platform::TickCount());
    Frame.update();
    // A close handled inside the update released the context: nothing more is drawn.
    if (platform::HasGlContext()) {
        Frame.draw();
        platform::SwapBuffers();
    }
    return true;
}

int RunMainWindow() {
    base::StopIfQuitRequested();
    if (!platform::Init()) {
        std::fprintf(stderr, "koravex: no display to open a window on (%s)\n",
                     base::PrintablePath(platform::LastError()).c_str());
        platform::MessageBox("Error", "Failed To Register The Window Class.");
        return 1;
    }
    const platform::Size size = WindowSizeForDisplay(platform::DesktopSize());
    platform::SetScreenSize(static_cast<std::uint16_t>(size.width),
                            static_cast<std::uint16_t>(size.height));

    ShowSplash();

    if (!platform::CreateMainWindow("Koravex", 0, 0, platform::state.ScreenWidth,
                                    platform::state.ScreenHeight)) {
        platform::MessageBox("Error", "Window Creation Error.");
        return 1;
    }
    const bool created = CreateContextAndScene();
    state.MainWindow = true;
    // The first size message sets the viewport, as the window system's own would.
    const platform::Size client = platform::ClientSize();
    platform::PostMessage(
        platform::Message{platform::MessageKind::Size, 0, client.width, client.height});

    platform::HideSplash();
    platform::ShowMainWindow();

    while (LoopPass()) {
    }
    return created ? 0 : 1;
}

namespace {

// A failure ends the run: the workspace goes first, so nothing is left even when the box
// is never answered.
int EndAfterFailure(const std::string& text) {
    base::RunExitCleanups(base::Ending::AfterError);
    platform::MessageBox("Application Error", text);
    return 1;
}

} // namespace

int RunProgram() {
    platform::WatchSignals();
    InstallHooks();
    rules::SeedRandomFromClock();
    engine::EngineInit();
    int exitCode = 1;
    try {
        exitCode = RunMainWindow();
    } catch (const base::QuitRequest&) {
        exitCode = 0;
    } catch (const base::IoFailure& failure) {
        exitCode = EndAfterFailure(std::string("Input/output failure: ") + failure.what());
    } catch (const base::ConvertFailure& failure) {
        exitCode = EndAfterFailure(std::string("Conversion failure: ") + failure.what());
    } catch (const std::bad_alloc&) {
        exitCode = EndAfterFailure("Out of memory");
    } catch (const std::exception& failure) {
        exitCode = EndAfterFailure(failure.what());
    }
    // However the run ended, nothing it set up is left.
    base::RunExitCleanups(base::Ending::Normal);
    return exitCode;
}

} // namespace shell
