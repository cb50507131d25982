// The main window's procedure: GL context set-up, one-time scene set-up, resizing,
// the key table and the teardown.
#pragma once

#include "platform/message_queue.h"

namespace shell {

// Handles one window message; always 0, like the messages it handles.
int MainWindowProc(const platform::Message& message);

// Runs inside window creation: context set-up, then InitScene with the client size. False
// when a step of the context failed: its "Error" box has been shown and quit queued.
bool CreateContextAndScene();
void InitScene(int width, int height);
// InitScene after the workspace: the game and rules layers reset, GL state and light, assets.
void ResetAndLoadGame(int width, int height);
// Every cleanup of the way out (workspace, context, windows), then quit posted. Harmless when
// run again.
void Teardown();
// Empties the engine stores after an engine error report.
void ReleaseEngineWindow();

} // namespace shell
