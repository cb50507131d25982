// The main window's procedure: GL context set-up, one-time scene set-up, resizing,
// the key table and the teardown.
#pragma once

#include <array>
#include <cstdint>

#include "shell/message_queue.h"

namespace shell {

extern std::array<std::int32_t, 256> Keys; // by virtual-key code: -1 down, 0 up
extern std::int32_t ViewportWidth;          // client width last given to ResizeScene
extern std::int32_t ViewportHeight;         // client height last given to ResizeScene, never 0
extern const std::array<float, 4> LightAmbient;
extern const std::array<float, 4> LightDiffuse;
extern std::array<float, 4> LightPosition; // directional; set again before every use

// Handles one window message; always 0, like the messages it handles.
int MainWindowProc(const Message& message);

// Runs inside window creation: context set-up, then InitScene with the client size.
void OnCreate();
void InitScene(int width, int height);
// InitScene after the workspace: view values, GL state and light, assets, game values.
void LoadScene(int width, int height);
void ResizeScene(int width, int height);
// Workspace removed, context released, quit posted. Harmless when run again.
void Teardown();
// Empties the engine stores after an engine error report.
void ReleaseEngineWindow();
// The close request, handled before it returns (re-entrantly from the frame update).
void SendCloseMessage();

// The light as the scene uses it, given to light 1.
void ApplyLightPosition();

} // namespace shell
