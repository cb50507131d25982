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
    base::AtExit(Context, false);
    base::AtExit(Files, true);
    base::AtExit(Context, false);
    ran.clear();
    base::RunExitCleanups(false);
    EXPECT_EQ(ran, (std::vector<std::string>{"files", "context"}));
    ran.clear();
    base::RunExitCleanups(true);
    EXPECT_EQ(ran, (std::vector<std::string>{"files"}));
}

TEST(WayOut, AQuitRequestStopsALoad) {
    EXPECT_NO_THROW(base::StopIfQuitRequested());
    base::QuitRequested = true;
    EXPECT_THROW(base::StopIfQuitRequested(), base::QuitRequest);
    base::QuitRequested = false;
}

void SayRan() {
    [[maybe_unused]] const ssize_t put = write(STDERR_FILENO, "cleanup\n", 8);
}

// SDL's box runs in a child made by fork, which meets a lost display too: only the game itself
// removes its files and writes the line, so the user reads it once.
TEST(WayOut, EndNowInAForkedChildEndsSilentlyWithItsCode) {
    base::AtExit(SayRan, true);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeFds[1], STDERR_FILENO);
        base::EndNow(3, "koravex: the connection to the display was lost\n");
    }
    close(pipeFds[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(said, "");
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
