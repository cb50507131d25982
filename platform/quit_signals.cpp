#include "platform/quit_signals.h"

#include <initializer_list>

namespace platform {

sigset_t QuitSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        // Blocked and taken by sigwait, an ignored signal would be seen after all.
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
        sigaddset(&set, signal);
    }
    return set;
}

} // namespace platform
