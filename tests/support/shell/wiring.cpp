// Test programs run with the hooks wired as the program wires them at start-up: engine
// reports show their box in the platform double and empty the stores.
#include "shell/app.h"

namespace {
const bool wired = (shell::InstallHooks(), true);
} // namespace
