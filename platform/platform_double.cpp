// The platform layer's test double. It draws into a real but hidden GL window.
#include <SDL.h>

#include <cstdio>
#include <memory>

#include "base/way_out.h"
#include "platform/platform.h"
#include "platform/platform_double.h"

namespace platform {

namespace {

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};

testing::DoubleState state;
std::unique_ptr<SDL_Window, WindowDeleter> window; // hidden, GL-capable
SDL_GLContext context = nullptr;
bool videoStarted = false;

bool StartVideo() {
    if (!videoStarted && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) videoStarted = true;
    return videoStarted;
}

} // namespace

namespace testing {

DoubleState& Double() { return state; }

void ResetDouble() {
    ReleaseGlContext();
    window.reset();
    state = DoubleState{};
}

bool OpenHiddenGlWindow(int width, int height) {
    return CreateMainWindow("Koravex test", 0, 0, width, height) &&
           CreateGlContext() == ContextResult::Ok;
}

} // namespace testing

void WatchSignals() {}

bool Init() { return state.initOk; }

std::string LastError() { return "test double"; }

Size DesktopSize() { return state.desktop; }

void ShowSplash(const std::uint8_t*, int, int) { ++state.splashShown; }

void HideSplash() { ++state.splashHidden; }

bool CreateMainWindow(const char* title, int x, int y, int width, int height) {
    if (!state.createWindowOk) return false;
    if (!StartVideo()) return false;
    ReleaseGlContext();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    window.reset(SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
    return window != nullptr;
}

void ShowMainWindow() { ++state.windowShown; }

Size ClientSize() {
    Size size;
    if (window) SDL_GetWindowSize(window.get(), &size.width, &size.height);
    return size;
}

bool MainWindowVisible() { return state.visible; }

ContextResult CreateGlContext() {
    if (state.contextResult != ContextResult::Ok) return state.contextResult;
    if (!window) return ContextResult::NoPixelFormat;
    context = SDL_GL_CreateContext(window.get());
    if (!context) return ContextResult::NoContext;
    if (SDL_GL_MakeCurrent(window.get(), context) != 0) return ContextResult::MakeCurrentFailed;
    return ContextResult::Ok;
}

void ReleaseGlContext() {
    if (!context) return;
    SDL_GL_MakeCurrent(window.get(), nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
}

bool HasGlContext() { return context != nullptr; }

void DestroyWindows() {
    ReleaseGlContext();
    if (window) ++state.windowsDestroyed;
    window.reset();
}

void SwapBuffers() {
    ++state.swaps;
    state.input = false;
    if (window && context) SDL_GL_SwapWindow(window.get());
}

void PumpEvents() {
    if (state.onPump) state.onPump();
}

void WaitForEvents(int ms) {
    ++state.waits;
    state.waitedMs += ms;
    if (state.onWait)
        state.onWait();
    else
        state.tick += static_cast<std::uint32_t>(ms);
}

bool InputSinceSwap() { return state.input; }

int RefreshRate() { return state.refreshRate; }

std::uint32_t TickCount() { return state.tick; }

void CursorPos(int& x, int& y) {
    x = state.cursorX;
    y = state.cursorY;
}

bool LeftButtonDown() {
    if (state.left && state.releaseLeftAfterPolls >= 0 && state.releaseLeftAfterPolls-- == 0)
        state.left = false;
    return state.left || state.leftClickUnseen;
}

void ForgetLeftPresses() { state.leftClickUnseen = false; }

bool RightButtonDown() { return state.right; }

void SleepMs(int) { ++state.sleeps; }

void SetCursor(Cursor cursor) { state.cursor = cursor; }

void MessageBox(const std::string& caption, const std::string& text) {
    // As on the real platform, no box waits for an answer once the game is asked to end.
    if (!base::QuitRequested) state.boxes.push_back({caption, text});
}

} // namespace platform
