// The base layer's run-time state: the loads running and the reports raised (base/report.h).
// What is installed or registered once stays outside it: the report hooks (EngineReport), the
// exit cleanups and QuitRequested (base/way_out.h), which signal handlers and other threads
// reach.
#pragma once

namespace base {

struct State {
    unsigned LoadDepth = 0;    // loads running now, the outermost counted first
    unsigned ReportCount = 0;  // reports raised so far
    bool ResetPending = false; // a report during a load awaits its reset
};
extern State state; // written by this layer alone

} // namespace base
