// Test programs of the layers below the engine's stores: a report shows its box in the platform
// double, and there is nothing to empty.
#include "tests/support/platform/report_box.h"

namespace {
const bool wired = (kxtest::InstallReportBox(), true);
} // namespace
