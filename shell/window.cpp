#include "shell/window.h"

#include "archive/workspace.h"
#include "base/way_out.h"
#include "engine/store.h"
#include "game/assets.h"
#include "game/state.h"
#include "platform/platform.h"
#include "platform/window_state.h"
#include "render/view.h"
#include "rules/random.h"
#include "rules/state.h"

namespace shell {

namespace {

bool SetupFailure(const char* text) {
    platform::MessageBox("Error", text);
    platform::PostQuitMessage();
    return false;
}

} // namespace

bool CreateContextAndScene() {
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
    return true;
}

void InitScene(int width, int height) {
    archive::SetUpWorkspace();
    ResetAndLoadGame(width, height);
}

void ResetAndLoadGame(int width, int height) {
    game::ResetGameState();
    rules::ResetRulesState();
    rules::SeedRandomFromClock();
    render::SetUpGlState(width, height);
    game::LoadAssets();
}

void Teardown() {
    base::RunExitCleanups(base::Ending::Normal);
    platform::PostQuitMessage();
}

void ReleaseEngineWindow() {
    engine::EngineReset();
}

int MainWindowProc(const platform::Message& message) {
    using platform::MessageKind;
    switch (message.kind) {
    case MessageKind::Close:
    case MessageKind::Destroy:
        Teardown();
        break;
    case MessageKind::Size:
        render::ResizeScene(message.width, message.height);
        break;
    case MessageKind::KeyDown:
        platform::SetKey(message.key, true);
        platform::RecordKeyPress({message.key, message.repeat, message.ctrl, message.shift});
        break;
    case MessageKind::KeyUp:
        platform::SetKey(message.key, false);
        break;
    case MessageKind::Quit:
        break;
    }
    return 0;
}

} // namespace shell
