#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "base/way_out.h"

namespace {

std::vector<std::string> ran; // the cleanups run, in order

void Files() {
    ran.push_back("files");
}
void Context() {
    ran.push_back("context");
}

TEST(WayOut, CleanupsRunNewestFirstAndAfterAnErrorOnlyThoseMarkedForIt) {
    base::AtExit(Context, base::OnError::Skip);
    base::AtExit(Files, base::OnError::Run);
    base::AtExit(Context, base::OnError::Skip);
    ran.clear();
    base::RunExitCleanups(base::Ending::Normal);
    EXPECT_EQ(ran, (std::vector<std::string>{"files", "context"}));
    ran.clear();
    base::RunExitCleanups(base::Ending::AfterError);
    EXPECT_EQ(ran, (std::vector<std::string>{"files"}));
}

TEST(WayOut, AQuitRequestStopsALoad) {
    EXPECT_NO_THROW(base::StopIfQuitRequested());
    base::QuitRequested = true;
    EXPECT_THROW(base::StopIfQuitRequested(), base::QuitRequest);
    base::QuitRequested = false;
}

// SDL's box runs in a child made by fork, which meets a lost display too: only the game itself
// writes the line, so the user reads it once.
TEST(WayOut, EndNowInAForkedChildEndsSilentlyWithItsCode) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDERR_FILENO);
        base::EndNow(3, "koravex: the connection to the display was lost\n");
    }
    close(out[1]);
    char said[64];
    EXPECT_EQ(read(out[0], said, sizeof said), 0);
    close(out[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
}

TEST(PrintablePath, ControlBytesAndBrokenUtf8AreEscapedLettersStay) {
    EXPECT_EQ(base::PrintablePath("/home/j\xc3\xb3zsef/\xe6\xa3\x8b"),
              "/home/j\xc3\xb3zsef/\xe6\xa3\x8b");
    EXPECT_EQ(base::PrintablePath("a\x1b[7m\tb\x7f"), "a\\x1b[7m\\x09b\\x7f");
    // C1 controls (U+009B is CSI), lone and overlong bytes, and a cut sequence.
    EXPECT_EQ(base::PrintablePath("\xc2\x9b"
                                  "x"),
              "\\xc2\\x9bx");
    EXPECT_EQ(base::PrintablePath("\xff\xc0\xaf"), "\\xff\\xc0\\xaf");
    EXPECT_EQ(base::PrintablePath("\xe6\xa3"), "\\xe6\\xa3");
    EXPECT_EQ(base::PrintablePath(std::string("a\0b", 3)), "a\\x00b");
}

} // namespace
