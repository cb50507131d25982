#include "shell/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "archive/assets.h"
#include "archive/workspace.h"
#include "engine/store.h"
#include "game/random.h"
#include "game/state.h"
#include "shell/app.h"
#include "shell/platform.h"

namespace shell {

std::array<std::int32_t, 256> Keys{};
std::int32_t ViewportWidth = 0;
std::int32_t ViewportHeight = 1;
const std::array<float, 4> LightAmbient{0.85f, 0.85f, 0.85f, 1.0f};
const std::array<float, 4> LightDiffuse{0.15f, 0.15f, 0.15f, 1.0f};
std::array<float, 4> LightPosition{-1.0f, 0.5f, 0.5f, 0.0f};

namespace {

void SetupFailure(const char* text) {
    platform::MessageBox("Error", text);
    SetupFailed = true;
    PostQuitMessage();
}

void SetPerspective(int width, int height) {
    gluPerspective(45.0, static_cast<float>(width) / static_cast<float>(height), 0.1, 1000.0);
}

} // namespace

void ApplyLightPosition() {
    LightPosition = {-1.0f, 0.5f, 0.5f, 0.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, LightPosition.data());
}

void OnCreate() {
    switch (platform::CreateGlContext()) {
    case platform::ContextResult::NoPixelFormat:
        return SetupFailure("Cant't Find A Suitable PixelFormat.");
    case platform::ContextResult::SetPixelFormatFailed:
        return SetupFailure("Can't Set The PixelFormat.");
    case platform::ContextResult::NoContext:
        return SetupFailure("Can't Create A GL Rendering Context.");
    case platform::ContextResult::MakeCurrentFailed:
        return SetupFailure("Can't activate GLRC.");
    case platform::ContextResult::Ok:
        break;
    }
    const platform::Size client = platform::ClientSize();
    InitScene(client.width, client.height);
}

void InitScene(int width, int height) {
    archive::SetUpWorkspace();
    LoadScene(width, height);
}

void LoadScene(int width, int height) {
    game::InitViewState();
    game::SeedRandomFromClock();

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    engine::SetClearDepth(1.0f);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_COLOR_MATERIAL);
    SetPerspective(width, height > 0 ? height : 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_AMBIENT, LightAmbient.data());
    glLightfv(GL_LIGHT1, GL_DIFFUSE, LightDiffuse.data());
    ApplyLightPosition();

    archive::LoadAssets();
    game::InitGameState();
}

void ResizeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewportWidth = width;
    ViewportHeight = height;
    SetPerspective(width, height);
    glMatrixMode(GL_MODELVIEW);
}

void Teardown() {
    archive::TearDownWorkspace();
    platform::ReleaseGlContext();
    PostQuitMessage();
}

void ReleaseEngineWindow() { engine::EngineReset(); }

void SendCloseMessage() { MainWindowProc(Message{MessageKind::Close}); }

int MainWindowProc(const Message& message) {
    switch (message.kind) {
    case MessageKind::Close:
    case MessageKind::Destroy:
        Teardown();
        break;
    case MessageKind::Size:
        ResizeScene(message.width, message.height);
        break;
    case MessageKind::KeyDown:
        if (message.key < Keys.size()) Keys[message.key] = -1;
        break;
    case MessageKind::KeyUp:
        if (message.key < Keys.size()) Keys[message.key] = 0;
        break;
    case MessageKind::Quit:
        break;
    }
    return 0;
}

} // namespace shell
