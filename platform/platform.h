// The platform layer: every operation the game needs from the windowing system,
// the input devices and the clock. platform_sdl.cpp implements it over SDL and
// platform_double.cpp stands in for it in tests; of the game, only this folder includes SDL
// (scripts/check_layers.sh sees to it).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct Size {
    int width = 0;
    int height = 0;
};

// From now on SIGTERM, SIGINT and SIGHUP set base::QuitRequested instead of ending the program,
// except one ignored when the game started, which stays ignored; first thing, before any
// thread starts. Harmless when called again.
void WatchSignals();
// Starts the video subsystem; false when there is no display to talk to.
bool Init();
// Why the last platform call failed, for the user.
std::string LastError();
// The primary display's current mode.
Size DesktopSize();

// A borderless 320 x 200 window centred on the desktop, painted before returning
// from a tightly packed RGB picture, top row first.
void ShowSplash(const std::uint8_t* rgb, int width, int height);
void HideSplash();

// A borderless, hidden, GL-capable window; false when none can be made.
bool CreateMainWindow(const char* title, int x, int y, int width, int height);
void ShowMainWindow();
Size ClientSize();
// The main window is on screen: shown and not minimised.
bool MainWindowVisible();

// The steps of making the GL context current on the main window, in order.
enum class ContextResult { Ok, NoPixelFormat, SetPixelFormatFailed, NoContext, MakeCurrentFailed };
ContextResult CreateGlContext();
// Makes no context current and deletes the context; harmless when there is none.
void ReleaseGlContext();
bool HasGlContext();
// Releases the context and destroys the main window, the splash and the cursors; harmless
// when there are none.
void DestroyWindows();
void SwapBuffers();

// Moves waiting system events into the message queue (message_queue.h).
void PumpEvents();
// Sleeps until a system event arrives or `ms` milliseconds have passed, whichever is first;
// soon after a signal asks the game to end (base::QuitRequested).
void WaitForEvents(int ms);
// An event that can change the picture (pointer, button, key, the main window exposed, sized,
// shown or focused) has come in since the last swap; true before the first swap.
bool InputSinceSwap();
// The refresh rate of the main window's display in Hz; 0 when the system reports none.
int RefreshRate();

std::uint32_t TickCount();
// The cursor in screen pixels, y downwards.
void CursorPos(int& x, int& y);
// The live state of the mouse buttons, asked anew on every call. A left press that came
// and went between two calls still shows as down, until ForgetLeftPresses: a click shorter
// than a frame is not lost.
bool LeftButtonDown();
bool RightButtonDown();
// The game has seen every left press so far.
void ForgetLeftPresses();
void SleepMs(int ms);

enum class Cursor { Arrow, SizeAll };
void SetCursor(Cursor cursor);

// A modal box with no owner window; also written to stderr.
void MessageBox(const std::string& caption, const std::string& text);

} // namespace platform
