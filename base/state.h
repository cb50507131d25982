// The base layer's run-time state: the loads running and the reports raised (base/report.h).
// Only this layer writes it. Outside it: what is installed or registered once, the report hooks
// (EngineReport) and the exit cleanups, and QuitRequested (base/way_out.h), which the signal
// thread sets.
#pragma once

namespace base {

struct State {
    unsigned LoadDepth = 0;    // loads running now, the outermost counted first
    unsigned ReportCount = 0;  // reports raised so far
    bool ResetPending = false; // a report during a load awaits its reset
};
extern State state;

} // namespace base
