#include "base/report.h"

namespace base {

ReportHooks EngineReport;

namespace {
unsigned loadDepth = 0;    // loads running now, the outermost counted first
unsigned reportCount = 0;  // reports raised so far
bool resetPending = false; // a report during a load awaits its reset
} // namespace

void InstallReportHooks(ReportHooks hooks) {
    EngineReport = hooks;
}

void ShowEngineError(const std::string& text) {
    ++reportCount;
    if (EngineReport.show) EngineReport.show(text);
    if (loadDepth > 0) {
        resetPending = true;
        return;
    }
    if (EngineReport.reset) EngineReport.reset();
}

LoadScope::LoadScope() : reportsAtStart_(reportCount) {
    ++loadDepth;
}

LoadScope::~LoadScope() {
    if (--loadDepth > 0 || !resetPending) return;
    resetPending = false;
    if (EngineReport.reset) EngineReport.reset();
}

bool LoadScope::Reported() const {
    return reportCount != reportsAtStart_;
}

} // namespace base
