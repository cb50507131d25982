// Engine reports: a lower layer tells the user that something went wrong, and goes on. The
// program installs what a report does (a box, then emptying the engine stores).
//
// A report raised while a load runs shows its box at once, but the reset waits until the
// outermost load has returned: a loader must never find the store it is writing into emptied
// under it. The loader itself stops writing once a report has been raised during its load, so
// what it wrote before the report is emptied with the rest when the reset runs.
#pragma once

#include <string>

namespace base {

struct ReportHooks {
    void (*show)(const std::string& text) = nullptr; // tells the user; nothing when unset
    void (*reset)() = nullptr;                       // empties what a report invalidates
};
extern ReportHooks EngineReport; // installed by the program at start-up

void InstallReportHooks(ReportHooks hooks);

// Shows the text, then resets, or marks the reset for the end of the running load.
void ShowEngineError(const std::string& text);

// Marks a load for as long as it lives; loads may nest.
class LoadScope {
  public:
    LoadScope();
    ~LoadScope();
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

    // A report was raised since this load began: the loader writes nothing more.
    bool Reported() const;

  private:
    unsigned reportsAtStart_;
};

} // namespace base
