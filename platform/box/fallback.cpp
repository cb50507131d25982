#include "platform/box/fallback.h"

#include <SDL.h>

#include <memory>
#include <vector>

#include "base/way_out.h"
#include "platform/box/layout.h"
#include "platform/box/paint.h"

namespace platform {

namespace {

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Events of the rest of the program that arrive while the box is up and are handed back
// afterwards, as a modal box leaves them waiting; more than this are dropped.
constexpr std::size_t kMaxKeptEvents = 256;

// Copies the pixels onto the window; false when the window has no surface to paint.
bool Present(SDL_Window* window, BoxPixels& pixels) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target) return false;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> source(
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.argb.data(), pixels.width, pixels.height, 32,
                                           pixels.width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (!source) return false;
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    SDL_BlitSurface(source.get(), nullptr, target, nullptr);
    return SDL_UpdateWindowSurface(window) == 0;
}

bool IsDismissKey(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return false; // a key held since before the box dismisses nothing
    switch (key.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_RETURN2:
    case SDLK_ESCAPE:
    case SDLK_SPACE:
        return true;
    default:
        return false;
    }
}

// The window an event is meant for, 0 for events of no window.
Uint32 WindowOf(const SDL_Event& e) {
    switch (e.type) {
    case SDL_WINDOWEVENT:
        return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return e.key.windowID;
    case SDL_TEXTINPUT:
        return e.text.windowID;
    case SDL_MOUSEMOTION:
        return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return e.button.windowID;
    case SDL_MOUSEWHEEL:
        return e.wheel.windowID;
    default:
        return 0;
    }
}

// Closing the box must not count as closing the program's last window.
struct QuitOnLastCloseOff {
    std::string before;
    QuitOnLastCloseOff() {
        const char* hint = SDL_GetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE);
        before = hint ? hint : "";
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    }
    ~QuitOnLastCloseOff() {
        if (before.empty())
            SDL_ResetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE);
        else
            SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, before.c_str());
    }
    QuitOnLastCloseOff(const QuitOnLastCloseOff&) = delete;
    QuitOnLastCloseOff& operator=(const QuitOnLastCloseOff&) = delete;
};

// SDL may paint a window surface through a GL renderer of its own, whose context then
// becomes current: the program's context is made current again once the box has gone.
struct KeepCurrentGlContext {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_GLContext context = SDL_GL_GetCurrentContext();
    KeepCurrentGlContext() = default;
    ~KeepCurrentGlContext() {
        if (context && SDL_GL_GetCurrentContext() != context) SDL_GL_MakeCurrent(window, context);
    }
    KeepCurrentGlContext(const KeepCurrentGlContext&) = delete;
    KeepCurrentGlContext& operator=(const KeepCurrentGlContext&) = delete;
};

} // namespace

bool DriverReachesDesktop() {
    const char* name = SDL_GetCurrentVideoDriver();
    if (!name) return false;
    const std::string driver = name;
    return driver != "offscreen" && driver != "dummy" && driver != "evdev";
}

BoxLayout FallbackBoxLayout(const std::string& text) {
    SDL_Rect screen{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &screen) != 0) SDL_GetDisplayBounds(0, &screen);
    return LayoutBox(BoxTextFont(), text, screen.w, screen.h);
}

bool ShowFallbackBox(const std::string& caption, const std::string& text) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || !DriverReachesDesktop()) return false;
    const BoxFont& font = BoxTextFont();
    const BoxLayout box = FallbackBoxLayout(text);

    const QuitOnLastCloseOff quitHint;
    const KeepCurrentGlContext glContext; // outlives the window
    std::unique_ptr<SDL_Window, WindowDeleter> window(
        SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, box.width,
                         box.height, SDL_WINDOW_SHOWN));
    if (!window) return false;
    const Uint32 id = SDL_GetWindowID(window.get());
    ButtonState look = ButtonState::Normal;
    BoxPixels pixels = PaintBox(font, box, look);
    if (!Present(window.get(), pixels)) return false;
    SDL_RaiseWindow(window.get());
    // Where no window manager hands out the focus, the box takes it itself.
    SDL_SetWindowInputFocus(window.get());

    std::vector<SDL_Event> kept;
    bool pressed = false; // the left button went down on OK
    bool hover = false;
    bool dismissed = false;
    while (!dismissed) {
        SDL_Event e;
        // The program is asked to end (a signal): the box goes.
        if (base::QuitRequested) break;
        if (!SDL_WaitEventTimeout(&e, 250)) continue;
        const Uint32 target = WindowOf(e);
        if (e.type == SDL_QUIT) {
            // The program is asked to end: the box goes, the request stays.
            kept.push_back(e);
            dismissed = true;
        } else if (target != id) {
            // Input for the program's other windows is dropped while the box is up.
            if (e.type == SDL_WINDOWEVENT && kept.size() < kMaxKeptEvents) kept.push_back(e);
        } else if (e.type == SDL_WINDOWEVENT) {
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) dismissed = true;
            if (e.window.event == SDL_WINDOWEVENT_LEAVE) hover = false;
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                e.window.event == SDL_WINDOWEVENT_SHOWN ||
                e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Present(window.get(), pixels);
        } else if (e.type == SDL_KEYDOWN) {
            dismissed = IsDismissKey(e.key);
        } else if (e.type == SDL_MOUSEMOTION) {
            hover = box.button.Contains(e.motion.x, e.motion.y);
        } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
            pressed = box.button.Contains(e.button.x, e.button.y);
            hover = pressed;
        } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
            // Like any button, OK acts when released over it after a press on it.
            dismissed = pressed && box.button.Contains(e.button.x, e.button.y);
            pressed = false;
        }
        const ButtonState now = !hover    ? ButtonState::Normal
                                : pressed ? ButtonState::Pressed
                                          : ButtonState::Hover;
        if (!dismissed && now != look) {
            look = now;
            pixels = PaintBox(font, box, look);
            Present(window.get(), pixels);
        }
    }
    window.reset();
    for (SDL_Event& e : kept)
        SDL_PushEvent(&e);
    return true;
}

} // namespace platform
