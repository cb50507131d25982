// Preloaded into a program, this notes the time of every buffer swap, one line of monotonic
// nanoseconds each, in the file $KX_SWAP_LOG: the wall time of each frame as the player sees
// it, taken from outside the program.
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

} // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
    static const auto next = reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (next) next(window);
    if (std::FILE* log = Log()) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(log, "%lld\n",
                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(log);
    }
}
