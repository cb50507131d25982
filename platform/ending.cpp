#include "platform/ending.h"

#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "base/way_out.h"
#include "platform/platform.h"

namespace platform {

std::atomic<bool> BoxShowing{false};

namespace {

sigset_t HandledSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

// A program started by the box (SDL's own box process, zenity) gets the signals as usual.
void UnblockInChild() {
    const sigset_t set = HandledSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

// The box is a process of its own, a child of the main thread: ending it dismisses the box,
// and the main thread goes on with the request to end.
void EndBoxProcesses() {
    std::ifstream children("/proc/self/task/" + std::to_string(getpid()) + "/children");
    for (pid_t child = 0; children >> child;)
        if (child > 0) kill(child, SIGTERM);
}

void TakeSignals() {
    const sigset_t set = HandledSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        base::QuitRequested = true;
        // A box's process may be starting just now: looked for again until the box has gone.
        while (BoxShowing) {
            EndBoxProcesses();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

int LostDisplay(void*) {
    base::EndNow(1, "koravex: the connection to the display was lost\n");
}

} // namespace

// The handled signals are blocked in this thread and every thread started after it; one thread
// takes them, sets base::QuitRequested and, while a box is up, ends the process showing it.
void WatchSignals() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    const sigset_t set = HandledSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    pthread_atfork(nullptr, nullptr, UnblockInChild);
    std::thread(TakeSignals).detach();
}

void EndOnLostDisplay() {
    // SDL opens Xlib itself when it talks to X; the handler is set in that same library.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib) return;
    using Handler = int (*)(void*);
    using SetHandler = Handler (*)(Handler);
    if (const auto set = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler")))
        set(LostDisplay);
    dlclose(xlib);
}

} // namespace platform
