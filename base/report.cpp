#include "base/report.h"

#include "base/state.h"

namespace base {

ReportHooks EngineReport;

void InstallReportHooks(ReportHooks hooks) {
    EngineReport = hooks;
}

void ShowEngineError(const std::string& text) {
    ++state.ReportCount;
    if (EngineReport.show) EngineReport.show(text);
    if (state.LoadDepth > 0) {
        state.ResetPending = true;
        return;
    }
    if (EngineReport.reset) EngineReport.reset();
}

LoadScope::LoadScope() : reportsAtStart_(state.ReportCount) {
    ++state.LoadDepth;
}

LoadScope::~LoadScope() {
    if (--state.LoadDepth > 0 || !state.ResetPending) return;
    state.ResetPending = false;
    if (EngineReport.reset) EngineReport.reset();
}

bool LoadScope::Reported() const {
    return state.ReportCount != reportsAtStart_;
}

} // namespace base
