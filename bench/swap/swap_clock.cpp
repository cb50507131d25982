// Preloaded into a program, this notes every buffer swap in the file $KX_SWAP_LOG, one line
// each: the monotonic time and the CPU time the whole process (all its threads) has used, in
// nanoseconds. Wall time and CPU time of each frame, taken from outside the program.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using SwapWindow = void (*)(void*);

std::FILE* Log() {
    static std::FILE* log = [] {
        const char* path = std::getenv("KX_SWAP_LOG");
        return path ? std::fopen(path, "w") : nullptr;
    }();
    return log;
}

long long Nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    static const auto next = reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (next) next(window);
    if (std::FILE* log = Log()) {
        std::fprintf(log, "%lld %lld\n", Nanoseconds(CLOCK_MONOTONIC),
                     Nanoseconds(CLOCK_PROCESS_CPUTIME_ID));
        std::fflush(log);
    }
}
