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

testing::DoubleState doubled; // what the tests set and read, apart from platform::state
std::unique_ptr<SDL_Window, WindowDeleter> window; // hidden, GL-capable
SDL_GLContext context = nullptr;
bool videoStarted = false;

bool StartVideo() {
    if (!videoStarted && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) videoStarted = true;
    return videoStarted;
}

} // namespace

namespace testing {

DoubleState& Double() { return doubled; }

void ResetDouble() {
    ReleaseGlContext();
    window.reset();
    doubled = DoubleState{};
}

bool OpenHiddenGlWindow(int width, int height) {
    return CreateMainWindow("Koravex test", 0, 0, width, height) &&
           CreateGlContext() == ContextResult::Ok;
}

} // namespace testing

void WatchSignals() {}

bool Init() { return doubled.initOk; }

std::string LastError() { return "test double"; }

Size DesktopSize() { return doubled.desktop; }

void ShowSplash(const std::uint8_t*, int, int) { ++doubled.splashShown; }

void HideSplash() { ++doubled.splashHidden; }

bool CreateMainWindow(const char* title, int x, int y, int width, int height) {
    if (!doubled.createWindowOk) return false;
    if (!StartVideo()) return false;
    ReleaseGlContext();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    window.reset(SDL_CreateWindow(title, x, y, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
    return window != nullptr;
}

void ShowMainWindow() { ++doubled.windowShown; }

Size ClientSize() {
    Size size;
    if (window) SDL_GetWindowSize(window.get(), &size.width, &size.height);
    return size;
}

bool MainWindowVisible() { return doubled.visible; }

ContextResult CreateGlContext() {
    if (doubled.contextResult != ContextResult::Ok) return doubled.contextResult;
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
    if (window) ++doubled.windowsDestroyed;
    window.reset();
}

void SwapBuffers() {
    ++doubled.swaps;
    doubled.input = false;
    if (window && context) SDL_GL_SwapWindow(window.get());
}

void PumpEvents() {
    if (doubled.onPump) doubled.onPump();
}

void WaitForEvents(int ms) {
    ++doubled.waits;
    doubled.waitedMs += ms;
    if (doubled.onWait)
        doubled.onWait();
    else
        doubled.tick += static_cast<std::uint32_t>(ms);
}

bool InputSinceSwap() { return doubled.input; }

int RefreshRate() { return doubled.refreshRate; }

std::uint32_t TickCount() { return doubled.tick; }

void CursorPos(int& x, int& y) {
    x = doubled.cursorX;
    y = doubled.cursorY;
}

bool LeftButtonDown() {
    if (doubled.left && doubled.releaseLeftAfterPolls >= 0 && doubled.releaseLeftAfterPolls-- == 0)
        doubled.left = false;
    return doubled.left || doubled.leftClickUnseen;
}

void ForgetLeftPresses() { doubled.leftClickUnseen = false; }

bool RightButtonDown() { return doubled.right; }

void SleepMs(int) { ++doubled.sleeps; }

void SetCursor(Cursor cursor) { doubled.cursor = cursor; }

void MessageBox(const std::string& caption, const std::string& text) {
    // As on the real platform, no box waits for an answer once the game is asked to end.
    if (!base::QuitRequested) doubled.boxes.push_back({caption, text});
}

} // namespace platform
