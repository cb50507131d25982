// The signals that ask the game to end, as the real platform takes them (platform/ending.cpp).
#pragma once

#include <signal.h>

namespace platform {

// SIGTERM, SIGINT and SIGHUP, less those ignored when asked: a game started with one ignored
// (by nohup, or as a background job of a script) leaves it ignored, for its children too.
sigset_t QuitSignals();

} // namespace platform
