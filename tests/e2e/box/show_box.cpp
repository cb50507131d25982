// koravex-test-box: shows a message box through the real platform layer, for the
// end-to-end tests of the box itself.
//   koravex-test-box CAPTION TEXT           our own box, whatever the desktop offers
//   koravex-test-box --system CAPTION TEXT  the game's way: the system's box, else ours
//   koravex-test-box --gl CAPTION TEXT      our own box over a current GL context, which
//                                           must be current again afterwards
// Before the box shows, stdout gets "button X Y WIDTH HEIGHT" (OK inside the box) and
// "box WIDTH HEIGHT"; after it is dismissed, "dismissed". Exit code 1: no box could be shown.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/box/fallback.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    const bool system = argc == 4 && std::strcmp(argv[1], "--system") == 0;
    const bool gl = argc == 4 && std::strcmp(argv[1], "--gl") == 0;
    if (argc != 3 && !system && !gl) {
        std::fprintf(stderr, "usage: koravex-test-box [--system | --gl] CAPTION TEXT\n");
        return 2;
    }
    const std::string caption = argv[argc - 2];
    const std::string text = argv[argc - 1];
    if (!platform::Init()) {
        std::fprintf(stderr, "koravex-test-box: %s\n", platform::LastError().c_str());
        return 1;
    }
    if (gl && (!platform::CreateMainWindow("Koravex GL", 0, 0, 64, 64) ||
               platform::CreateGlContext() != platform::ContextResult::Ok)) {
        std::fprintf(stderr, "koravex-test-box: no GL context: %s\n", SDL_GetError());
        return 1;
    }
    const SDL_GLContext context = SDL_GL_GetCurrentContext();
    const platform::BoxLayout box = platform::FallbackBoxLayout(text);
    std::printf("button %d %d %d %d\nbox %d %d\n", box.button.x, box.button.y, box.button.width,
                box.button.height, box.width, box.height);
    std::fflush(stdout);
    if (system) {
        platform::MessageBox(caption, text);
    } else if (!platform::ShowFallbackBox(caption, text)) {
        std::fprintf(stderr, "koravex-test-box: no box could be shown\n");
        return 1;
    }
    std::printf("dismissed\n");
    if (gl) {
        const bool kept = SDL_GL_GetCurrentContext() == context && glGetString(GL_VERSION);
        std::printf("GL context %s\n", kept ? "kept" : "lost");
        if (!kept) return 1;
    }
    return 0;
}
