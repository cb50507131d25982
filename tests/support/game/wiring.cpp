// Test programs of the game layer run with the hooks the program installs at start-up, the
// shell's window procedure stood in for: a report shows its box in the platform double and
// empties the engine stores; a key message keeps the key table, and a close runs the way out's
// cleanups and queues the quit, as the main window's procedure does.
#include "archive/workspace.h"
#include "base/way_out.h"
#include "engine/store.h"
#include "platform/message_queue.h"
#include "platform/platform.h"
#include "platform/window_state.h"
#include "tests/support/platform/report_box.h"

namespace {

int WindowProcedure(const platform::Message& message) {
    using platform::MessageKind;
    const bool down = message.kind == MessageKind::KeyDown;
    if (message.kind == MessageKind::Close || message.kind == MessageKind::Destroy) {
        base::RunExitCleanups(base::Ending::Normal);
        platform::PostQuitMessage();
    } else if (down || message.kind == MessageKind::KeyUp) {
        platform::SetKey(message.key, down);
        if (down)
            platform::RecordKeyPress({message.key, message.repeat, message.ctrl, message.shift});
    }
    return 0;
}

void Wire() {
    kxtest::InstallReportBox(engine::EngineReset);
    platform::InstallWindowProcedure(WindowProcedure);
    base::AtExit(platform::DestroyWindows, base::OnError::Skip);
    base::AtExit(platform::ReleaseGlContext, base::OnError::Skip);
    base::AtExit(archive::TearDownWorkspace, base::OnError::Run);
}

const bool wired = (Wire(), true);

} // namespace
