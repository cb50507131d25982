#include "base/way_out.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <mutex>

#include "base/failure.h"

namespace base {

std::atomic<bool> QuitRequested{false};

namespace {

struct Registered {
    Cleanup cleanup = nullptr;
    OnError onError = OnError::Skip;
};

// Far more than the program registers; a fixed table needs no memory on the way out.
constexpr std::size_t kMaxCleanups = 16;

std::array<Registered, kMaxCleanups> cleanups; // oldest first
std::size_t cleanupCount = 0;
// Recursive: a cleanup that meets a lost display ends the program from inside a run.
std::recursive_mutex running;
// The process that registered the cleanups; a child made by fork must not run them.
const pid_t owner = getpid();

} // namespace

void AtExit(Cleanup cleanup, OnError onError) {
    const std::lock_guard lock(running);
    const auto end = cleanups.begin() + static_cast<std::ptrdiff_t>(cleanupCount);
    if (std::any_of(cleanups.begin(), end,
                    [&](const Registered& r) { return r.cleanup == cleanup; }))
        return;
    if (cleanupCount == cleanups.size()) std::abort();
    cleanups[cleanupCount++] = {cleanup, onError};
}

void RunExitCleanups(Ending ending) {
    const std::lock_guard lock(running);
    for (std::size_t k = cleanupCount; k-- > 0;)
        if (ending == Ending::Normal || cleanups[k].onError == OnError::Run) cleanups[k].cleanup();
}

void RequestQuit() {
    QuitRequested = true;
}

void StopIfQuitRequested() {
    if (QuitRequested) throw QuitRequest{};
}

void EndNow(int code, std::string_view line) {
    // A child made by fork (SDL's box process) meets the same lost display as its parent,
    // which tells it: the line is written once.
    if (getpid() != owner) _exit(code);
    // Held until the end: no other thread starts a cleanup behind this one.
    running.lock();
    RunExitCleanups(Ending::AfterError);
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t put = write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
    }
    _exit(code);
}

} // namespace base
