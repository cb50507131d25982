#include <gtest/gtest.h>
#include <signal.h>

#include "platform/quit_signals.h"

namespace {

// nohup starts the game with SIGHUP ignored, a script's background job with SIGINT ignored:
// the game must not take them after all, while SIGTERM still ends it.
TEST(QuitSignals, ThoseIgnoredAtTheStartAreLeftOut) {
    struct sigaction saved[2] {};
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &action, &saved[0]);
    action.sa_handler = SIG_DFL;
    sigaction(SIGINT, &action, &saved[1]);
    const sigset_t set = platform::QuitSignals();
    sigaction(SIGHUP, &saved[0], nullptr);
    sigaction(SIGINT, &saved[1], nullptr);
    EXPECT_EQ(sigismember(&set, SIGHUP), 0);
    EXPECT_EQ(sigismember(&set, SIGINT), 1);
    EXPECT_EQ(sigismember(&set, SIGTERM), 1);
}

} // namespace
