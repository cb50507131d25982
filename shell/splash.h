// The start-up picture, shown while the window is created and the assets load.
#pragma once

namespace shell {

// Paints the splash synchronously: no message loop runs yet.
void ShowSplash();

} // namespace shell
