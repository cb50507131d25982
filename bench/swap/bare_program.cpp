// The bare program: a window covering the screen, one full-screen quad with the backdrop's
// picture, trilinear-mipmapped, and a swap, over and over, for the given seconds. What the
// game's frames are measured against (bench/swap/swap_times.sh).
#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/bare_frame.h"
#include "engine/bmp.h"
#include "platform/message_queue.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: koravex-bare-program PICTURE.bmp SECONDS\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    const std::optional<engine::Picture> picture = engine::DecodeBmp(file, 1 << 24);
    if (!picture) {
        std::fprintf(stderr, "koravex-bare-program: cannot read %s\n", argv[1]);
        return 1;
    }
    if (!platform::Init()) return 1;
    const platform::Size screen = platform::DesktopSize();
    if (!platform::CreateMainWindow("Bare", 0, 0, screen.width, screen.height)) return 1;
    platform::ShowMainWindow();
    if (platform::CreateGlContext() != platform::ContextResult::Ok) return 1;

    glViewport(0, 0, screen.width, screen.height);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1, 0, 1, -1, 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture->width, picture->height, GL_RGB, GL_UNSIGNED_BYTE,
                      picture->rgb.data());
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);

    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
    while (std::chrono::steady_clock::now() < end) {
        platform::PumpEvents();
        platform::ClearMessages();
        bench::DrawBareQuad();
        platform::SwapBuffers();
    }
    glDeleteTextures(1, &texture);
    platform::ReleaseGlContext();
    return 0;
}
