// Test programs of the shell and the tools, and the benchmarks, run with the hooks wired as the
// program wires them at start-up (shell::InstallHooks): engine reports show their box in the
// platform double and empty the stores, messages reach the main window's procedure.
#include "shell/app.h"

namespace {
const bool wired = (shell::InstallHooks(), true);
} // namespace
