// The platform layer over SDL2.
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "base/way_out.h"
#include "platform/ending.h"
#include "platform/box/fallback.h"
#include "platform/keymap.h"
#include "platform/message_queue.h"
#include "platform/platform.h"
#include "platform/window_state.h"

namespace platform {

namespace {

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct CursorDeleter {
    void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using CursorPtr = std::unique_ptr<SDL_Cursor, CursorDeleter>;

// Quits SDL at exit, after the windows and cursors below are gone.
struct SdlSession {
    bool started = false;
    ~SdlSession() {
        if (started) SDL_Quit();
    }
};

SdlSession session;
WindowPtr splash;        // the start-up picture's window
WindowPtr mainWindow;    // the game's window
bool mainHasGl = false;  // the main window was made with a GL visual
int mainSamples = 0;     // samples per pixel the main window's visual was asked for
SDL_GLContext context = nullptr;
CursorPtr arrowCursor;
CursorPtr sizeAllCursor;
// A key tapped faster than a frame would be down and up again before any frame saw it:
// its release waits until a frame has been shown.
std::array<bool, 256> keyDownSinceSwap{};
std::vector<std::uint32_t> heldKeyUps;
bool swappedSinceHeld = false;
Uint32 leftPresses = 0;     // left presses as they arrive from the system
Uint32 leftPressesSeen = 0; // those the game has seen, held down or forgotten
// KORAVEX_GL_CHECK set: every GL error raised while drawing a frame goes to stderr.
const bool checkGl = std::getenv("KORAVEX_GL_CHECK") != nullptr;
std::uint64_t framesSwapped = 0;
bool inputSinceSwap = true; // the first frame is owed to the window before any event

// Counts presses on the main window as events come in, however soon their release follows.
// A click on a message box is the box's own.
int CountLeftPress(void*, SDL_Event* event) {
    if (event->type == SDL_MOUSEBUTTONDOWN && event->button.button == SDL_BUTTON_LEFT &&
        mainWindow && event->button.windowID == SDL_GetWindowID(mainWindow.get()))
        ++leftPresses;
    return 1;
}

// Alt combinations and F10 are the system's keys: they never reach Keys.
bool IsSystemKey(const SDL_Keysym& key) {
    return (key.mod & KMOD_ALT) != 0 || key.sym == SDLK_F10;
}

void Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        PostMessage(Message{MessageKind::Close});
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        inputSinceSwap = true;
        break;
    case SDL_WINDOWEVENT:
        if (!mainWindow || event.window.windowID != SDL_GetWindowID(mainWindow.get())) break;
        // Exposed, shown, sized, moved, focused: any of them may call for the picture anew.
        inputSinceSwap = true;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            PostMessage(Message{MessageKind::Close});
        } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            PostMessage(Message{MessageKind::Size, 0, event.window.data1, event.window.data2});
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        inputSinceSwap = true;
        if (IsSystemKey(event.key.keysym)) break;
        const std::uint32_t vk = VirtualKeyFromSdl(event.key.keysym.sym);
        if (vk == 0) break;
        const bool unseen = vk < keyDownSinceSwap.size() && keyDownSinceSwap[vk];
        if (event.type == SDL_KEYDOWN) {
            // A new press outlives the release of an earlier tap.
            std::erase(heldKeyUps, vk);
            if (vk < keyDownSinceSwap.size()) keyDownSinceSwap[vk] = true;
            Message down{MessageKind::KeyDown, vk};
            down.repeat = event.key.repeat != 0;
            down.ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
            down.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            PostMessage(down);
        } else if (unseen) {
            heldKeyUps.push_back(vk);
        } else {
            PostMessage(Message{MessageKind::KeyUp, vk});
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

bool Init() {
    if (session.started) return true;
    // Signals reach the game through base::QuitRequested (WatchSignals), never through SDL.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window class the desktop groups and matches our windows by.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "KoravexClass", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "KoravexClass", 0);
    EndOnLostDisplay();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    session.started = true;
    SDL_AddEventWatch(CountLeftPress, nullptr);
    // Without a desktop SDL falls back to drivers that draw nowhere; that is no display.
    if (!DriverReachesDesktop()) {
        SDL_SetError("no desktop display found (is DISPLAY or WAYLAND_DISPLAY set?)");
        return false;
    }
    NoteDisplay();
    return true;
}

std::string LastError() { return SDL_GetError(); }

Size DesktopSize() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0};
    return {mode.w, mode.h};
}

void ShowSplash(const std::uint8_t* rgb, int width, int height) {
    splash.reset(SDL_CreateWindow("Koravex", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                  height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN));
    if (!splash) return;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> picture(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(rgb), width, height, 24, width * 3, SDL_PIXELFORMAT_RGB24));
    SDL_Surface* target = SDL_GetWindowSurface(splash.get());
    if (!picture || !target) return;
    // The window may take a moment to be mapped; paint until it has been.
    for (int attempt = 0; attempt < 20; ++attempt) {
        SDL_BlitSurface(picture.get(), nullptr, target, nullptr);
        SDL_UpdateWindowSurface(splash.get());
        SDL_PumpEvents();
        if (SDL_GetWindowFlags(splash.get()) & SDL_WINDOW_SHOWN) {
            if (attempt >= 2) break;
        }
        SDL_Delay(5);
    }
}

void HideSplash() {
    if (splash) SDL_HideWindow(splash.get());
}

namespace {

constexpr int kHardwareSamples = 4;
constexpr Uint32 kMainWindowFlags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;

// A GL window with `samples` per pixel, or fewer down to two, then none when `orNone`; the
// closest match to a 32-bit depth buffer that the driver offers. `made` gets the samples.
SDL_Window* CreateGlWindow(const char* title, int x, int y, int width, int height, int samples,
                           bool orNone, int& made) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    std::vector<int> tries;
    if (samples > 0) tries.push_back(samples);
    for (int s = samples > 2 ? static_cast<int>(std::bit_floor(unsigned(samples - 1))) : 0; s >= 2;
         s /= 2)
        tries.push_back(s);
    if (orNone || tries.empty()) tries.push_back(0);
    SDL_Window* window = nullptr;
    for (int s : tries) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, s > 0 ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, s);
        for (int depth : {32, 24, 16}) {
            SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
            window =
                SDL_CreateWindow(title, x, y, width, height, kMainWindowFlags | SDL_WINDOW_OPENGL);
            if (window) {
                made = s;
                break;
            }
        }
        if (window) break;
    }
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    return window;
}

// Renderers that rasterise on the processor pay for every sample as for a pixel.
bool SoftwareRenderer() {
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::string renderer = name ? name : "";
    for (char& c : renderer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "software"})
        if (renderer.find(soft) != std::string::npos) return true;
    return false;
}

// A context on the main window; with `samples`, on a window remade with that many first.
bool MakeContext(int samples, bool orNone) {
    WindowPtr window;
    int made = mainSamples;
    if (samples != mainSamples) {
        int x = 0, y = 0, width = 0, height = 0;
        SDL_GetWindowPosition(mainWindow.get(), &x, &y);
        SDL_GetWindowSize(mainWindow.get(), &width, &height);
        window.reset(CreateGlWindow(SDL_GetWindowTitle(mainWindow.get()), x, y, width, height,
                                    samples, orNone, made));
        if (!window) return false;
    }
    SDL_Window* target = window ? window.get() : mainWindow.get();
    SDL_GLContext fresh = SDL_GL_CreateContext(target);
    if (!fresh) return false;
    if (context) SDL_GL_DeleteContext(context);
    context = fresh;
    if (window) {
        mainWindow = std::move(window);
        mainSamples = made;
    }
    return true;
}

} // namespace

bool CreateMainWindow(const char* title, int x, int y, int width, int height) {
    // The renderer is known only once a context exists: without a number asked for, the
    // window starts without samples and is remade with them on graphics hardware.
    const int samples = state.RequestedSamples == kSamplesByRenderer ? 0 : state.RequestedSamples;
    mainWindow.reset(CreateGlWindow(title, x, y, width, height, samples, true, mainSamples));
    if (mainWindow) {
        mainHasGl = true;
        return true;
    }
    // A window without a GL visual still exists; the context set-up then reports it.
    mainHasGl = false;
    mainWindow.reset(SDL_CreateWindow(title, x, y, width, height, kMainWindowFlags));
    return mainWindow != nullptr;
}

void ShowMainWindow() {
    if (!mainWindow) return;
    SDL_ShowWindow(mainWindow.get());
    SDL_SetWindowPosition(mainWindow.get(), 0, 0);
    SDL_RaiseWindow(mainWindow.get());
}

Size ClientSize() {
    Size size;
    if (mainWindow) SDL_GetWindowSize(mainWindow.get(), &size.width, &size.height);
    return size;
}

bool MainWindowVisible() {
    if (!mainWindow) return false;
    return (SDL_GetWindowFlags(mainWindow.get()) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

ContextResult CreateGlContext() {
    if (!mainWindow || !mainHasGl) return ContextResult::NoPixelFormat;
    // Some systems offer a multisampled visual they cannot make a context for.
    if (!MakeContext(mainSamples, false) && (mainSamples == 0 || !MakeContext(0, true)))
        return ContextResult::NoContext;
    if (SDL_GL_MakeCurrent(mainWindow.get(), context) != 0) return ContextResult::MakeCurrentFailed;
    if (state.RequestedSamples == kSamplesByRenderer && !SoftwareRenderer()) {
        MakeContext(kHardwareSamples, false);
        if (SDL_GL_MakeCurrent(mainWindow.get(), context) != 0)
            return ContextResult::MakeCurrentFailed;
    }
    // Where the swap ignores this and returns at once, the loop paces itself (shell/pacing.h).
    SDL_GL_SetSwapInterval(1);
    return ContextResult::Ok;
}

void ReleaseGlContext() {
    if (!context) return;
    SDL_GL_MakeCurrent(mainWindow.get(), nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
}

bool HasGlContext() { return context != nullptr; }

void DestroyWindows() {
    ReleaseGlContext();
    mainWindow.reset();
    mainHasGl = false;
    splash.reset();
    arrowCursor.reset();
    sizeAllCursor.reset();
}

// glGetError keeps one flag per kind of error, so a handful of calls empties it.
void ReportGlErrors() {
    for (int i = 0; i < 8; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) return;
        std::fprintf(stderr, "koravex: GL error 0x%04x in frame %llu\n", error,
                     static_cast<unsigned long long>(framesSwapped));
    }
}

void SwapBuffers() {
    if (mainWindow && context) {
        if (checkGl) ReportGlErrors();
        SDL_GL_SwapWindow(mainWindow.get());
        ++framesSwapped;
    }
    keyDownSinceSwap.fill(false);
    swappedSinceHeld = true;
    inputSinceSwap = false;
}

void PumpEvents() {
    if (swappedSinceHeld) {
        for (const std::uint32_t vk : heldKeyUps) PostMessage(Message{MessageKind::KeyUp, vk});
        if (!heldKeyUps.empty()) inputSinceSwap = true;
        heldKeyUps.clear();
        swappedSinceHeld = false;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
}

void WaitForEvents(int ms) {
    // A signal is taken by another thread and wakes no wait: the wait looks at the request to
    // end between stretches short enough for the game to end promptly.
    constexpr int kQuitCheckMs = 100;
    SDL_Event event;
    for (int left = ms;; left -= kQuitCheckMs) {
        if (SDL_WaitEventTimeout(&event, std::clamp(left, 0, kQuitCheckMs)) == 1) {
            Translate(event);
            return;
        }
        if (left <= kQuitCheckMs || base::QuitRequested) return;
    }
}

bool InputSinceSwap() { return inputSinceSwap; }

int RefreshRate() {
    if (!mainWindow) return 0;
    const int display = SDL_GetWindowDisplayIndex(mainWindow.get());
    SDL_DisplayMode mode;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
}

std::uint32_t TickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

// SDL's global mouse state is refreshed by raw button events only, never by motion, and
// only while events are pumped. The window's own state follows every event, so it is read
// instead, after a pump: that keeps it live inside the frame update's waits for release,
// which draw nothing. Pumped events stay queued in SDL for the message loop.
Uint32 MouseState(int* x, int* y) {
    SDL_PumpEvents();
    return SDL_GetMouseState(x, y);
}

void CursorPos(int& x, int& y) {
    MouseState(&x, &y);
    int left = 0;
    int top = 0;
    if (mainWindow) SDL_GetWindowPosition(mainWindow.get(), &left, &top);
    x += left;
    y += top;
}

bool LeftButtonDown() {
    const bool down = (MouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
    if (down) leftPressesSeen = leftPresses;
    return down || leftPressesSeen != leftPresses;
}

void ForgetLeftPresses() { leftPressesSeen = leftPresses; }

bool RightButtonDown() { return (MouseState(nullptr, nullptr) & SDL_BUTTON_RMASK) != 0; }

void SleepMs(int ms) { SDL_Delay(static_cast<Uint32>(ms)); }

void SetCursor(Cursor cursor) {
    CursorPtr& slot = cursor == Cursor::Arrow ? arrowCursor : sizeAllCursor;
    if (!slot)
        slot.reset(SDL_CreateSystemCursor(cursor == Cursor::Arrow ? SDL_SYSTEM_CURSOR_ARROW
                                                                  : SDL_SYSTEM_CURSOR_SIZEALL));
    if (slot) SDL_SetCursor(slot.get());
}

void MessageBox(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "koravex: %s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    // Once the game is asked to end nobody waits for an answer: a box up then is taken down.
    BoxShowing = true;
    if (!base::QuitRequested &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0 &&
        !base::QuitRequested) {
        // SDL's box needs X core fonts, or zenity on Wayland; without them the box is our own.
        ShowFallbackBox(caption, text);
    }
    BoxShowing = false;
}

} // namespace platform
