// Engine reports as the program shows them, without the shell: the "VEngine internal error"
// box, recorded by the platform double, then `reset`.
#pragma once

#include <string>

#include "base/report.h"
#include "platform/platform.h"

namespace kxtest {

inline void InstallReportBox(void (*reset)() = nullptr) {
    base::InstallReportHooks(
        {[](const std::string& text) { platform::MessageBox("VEngine internal error", text); },
         reset});
}

} // namespace kxtest
