#include <gtest/gtest.h>
#include <signal.h>

#include "platform/quit_signals.h"

namespace {

// nohup starts the game with SIGHUP ignored, a script's background job with SIGINT ignored:
// the game must not take them after all, while SIGTERM still ends it.
TEST(QuitSignals, ThoseIgnoredAtTheStartAreLeftOut) {
    struct sigaction savedHup {};
    struct sigaction savedInt {};
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &action, &savedHup);
    action.sa_handler = SIG_DFL;
    sigaction(SIGINT, &action, &savedInt);
    const sigset_t set = platform::QuitSignals();
    sigaction(SIGHUP, &savedHup, nullptr);
    sigaction(SIGINT, &savedInt, nullptr);
    EXPECT_EQ(sigismember(&set, SIGHUP), 0);
    EXPECT_EQ(sigismember(&set, SIGINT), 1);
    EXPECT_EQ(sigismember(&set, SIGTERM), 1);
}

} // namespace
