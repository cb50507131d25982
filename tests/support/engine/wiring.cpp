// Test programs of the engine and the renderer: a report shows its box in the platform double and
// empties the engine stores, as the program's does.
#include "engine/store.h"
#include "tests/support/platform/report_box.h"

namespace {
const bool wired = (kxtest::InstallReportBox(engine::EngineReset), true);
} // namespace
