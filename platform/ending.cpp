#include "platform/ending.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>

#include "base/way_out.h"
#include "platform/platform.h"

namespace platform {

std::atomic<bool> BoxShowing{false};

namespace {

constexpr const char* kLostLine = "koravex: the connection to the display was lost\n";

sigset_t watched;                    // the signals the signal thread takes
std::atomic<pid_t> forkingPid{0};    // the process that forks, noted just before
void* xlib = nullptr;                // SDL's Xlib, kept loaded for the program's life
std::atomic<int> displayFd{-1};      // the socket of SDL's X connection, once noted
std::atomic<bool> faultTaken{false}; // a crash is being handled: another one is a crash
struct sigaction previousSegv {};
struct sigaction previousBus {};

// The handled signals, less those ignored when the game started (by nohup, or as a background
// job of a script): blocked and taken by sigwait, an ignored signal would be seen after all.
sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler != SIG_IGN)
            sigaddset(&set, signal);
    }
    return set;
}

void NoteForkingProcess() {
    forkingPid = getpid();
}

// A child made by fork (SDL's box process, a program the box runs) gets the signals as usual
// and ends with the game: a box left on the screen by a killed game would answer to nobody.
// The death signal follows the thread that forked; every fork comes from the main thread.
void SetUpChild() {
    pthread_sigmask(SIG_UNBLOCK, &watched, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The game may have died before the death signal was asked for.
    if (getppid() != forkingPid) raise(SIGKILL);
}

// The box is a process of its own, a child of the main thread: ending it dismisses the box,
// and the main thread goes on with the request to end. Killed outright: a signal the game was
// started ignoring is ignored by the box's process too.
void EndBoxProcesses() {
    std::ifstream children("/proc/self/task/" + std::to_string(getpid()) + "/children");
    for (pid_t child = 0; children >> child;)
        if (child > 0) kill(child, SIGKILL);
}

void TakeSignals() {
    for (;;) {
        int signal = 0;
        if (sigwait(&watched, &signal) != 0) continue;
        base::RequestQuit();
        // A box's process may be starting just now: looked for again until the box has gone.
        while (BoxShowing) {
            EndBoxProcesses();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

int LostDisplay(void*) {
    base::EndNow(1, kLostLine);
}

// The X server has closed SDL's connection: its socket reports the hang-up.
bool DisplayHungUp() {
    const int fd = displayFd;
    if (fd < 0) return false;
    pollfd socket{fd, POLLIN | POLLRDHUP, 0};
    return poll(&socket, 1, 0) == 1 && (socket.revents & (POLLHUP | POLLERR | POLLRDHUP)) != 0;
}

// Runs in the crashing thread. The crash came from code that met the dead connection, not from
// the allocator or stdio, so the file cleanups EndNow runs find their locks free, or held by a
// thread that goes on and lets them go; the cleanups' own lock is recursive. Any other crash
// gets the action it had before and happens again on return, as if never caught.
void OnFault(int signal, siginfo_t* info, void*) {
    if (!faultTaken.exchange(true) && DisplayHungUp()) base::EndNow(1, kLostLine);
    sigaction(signal, signal == SIGBUS ? &previousBus : &previousSegv, nullptr);
    // A fault sent by kill is not raised again by returning to the code it interrupted.
    if (info->si_code <= 0) raise(signal);
}

void CatchFaults() {
    struct sigaction action {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, &previousSegv);
    sigaction(SIGBUS, &action, &previousBus);
}

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};

} // namespace

// The handled signals are blocked in this thread and every thread started after it; one thread
// takes them, sets base::QuitRequested and, while a box is up, ends the process showing it.
void WatchSignals() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    watched = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &watched, nullptr);
    pthread_atfork(NoteForkingProcess, nullptr, SetUpChild);
    std::thread(TakeSignals).detach();
}

void EndOnLostDisplay() {
    if (!xlib) xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!xlib) return;
    using Handler = int (*)(void*);
    using SetHandler = Handler (*)(Handler);
    if (const auto set = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler")))
        set(LostDisplay);
    CatchFaults();
}

void NoteDisplay() {
    if (!xlib || displayFd >= 0) return;
    using ConnectionNumber = int (*)(Display*);
    const auto number = reinterpret_cast<ConnectionNumber>(dlsym(xlib, "XConnectionNumber"));
    if (!number) return;
    // SDL names its display only through a window: a hidden one, made before any GL set-up.
    const std::unique_ptr<SDL_Window, WindowDeleter> probe(
        SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS));
    if (!probe) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(probe.get(), &info) && info.subsystem == SDL_SYSWM_X11 &&
        info.info.x11.display)
        displayFd = number(info.info.x11.display);
}

} // namespace platform
