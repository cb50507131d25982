#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/version.h"

namespace {

using shell::CommandAction;

shell::CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "koravex");
    return shell::ParseCommandLine(static_cast<int>(args.size()), args.data());
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Contents(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

TEST(CommandLine, NoArgumentsPlays) {
    EXPECT_EQ(Parse({}).action, CommandAction::Play);
    // A program started with an empty argument vector still plays.
    EXPECT_EQ(shell::ParseCommandLine(0, nullptr).action, CommandAction::Play);
    EXPECT_EQ(Parse({"--"}).action, CommandAction::Play);
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(Parse({"--help"}).action, CommandAction::Help);
    EXPECT_EQ(Parse({"-h"}).action, CommandAction::Help);
    EXPECT_EQ(Parse({"--version"}).action, CommandAction::Version);
    EXPECT_EQ(Parse({"--version", "--help"}).action, CommandAction::Version);
}

TEST(CommandLine, NearMissesAndStrayArgumentsAreErrorsNamingTheArgument) {
    for (const char* bad : {"--helpx", "--help=yes", "-help", "--Version", "-v", "-hh", "-", "",
                            "play", "--fullscreen"}) {
        const shell::CommandLine line = Parse({bad});
        EXPECT_EQ(line.action, CommandAction::UsageError) << "'" << bad << "'";
        // Appended, not added: GCC 12 at -O3 warns (-Wrestrict) about "'" + std::string(bad).
        const std::string quoted = std::string("'").append(bad).append("'");
        EXPECT_NE(line.problem.find(quoted), std::string::npos) << line.problem;
    }
    // A bad argument is an error wherever it stands, also beside --help.
    EXPECT_EQ(Parse({"--help", "--bogus"}).action, CommandAction::UsageError);
    EXPECT_EQ(Parse({"--bogus", "--help"}).action, CommandAction::UsageError);
    // After "--" nothing is an option.
    EXPECT_EQ(Parse({"--", "--help"}).action, CommandAction::UsageError);
}

TEST(CommandLine, SamplesTakeACountFromZeroToSixteen) {
    EXPECT_EQ(Parse({}).samples, -1);
    EXPECT_EQ(Parse({"--samples", "0"}).samples, 0);
    EXPECT_EQ(Parse({"--samples=16"}).samples, 16);
    const shell::CommandLine both = Parse({"--samples", "4", "--help"});
    EXPECT_EQ(both.action, CommandAction::Help);
    for (std::vector<const char*> bad : {std::vector<const char*>{"--samples"},
                                         {"--samples", "17"},
                                         {"--samples", "-1"},
                                         {"--samples", "4x"},
                                         {"--samples="},
                                         {"--samples", ""},
                                         {"--samples", "0004"}}) {
        const shell::CommandLine line = Parse(bad);
        EXPECT_EQ(line.action, CommandAction::UsageError) << bad.back();
        EXPECT_NE(line.problem.find("samples"), std::string::npos) << line.problem;
    }
}

TEST(CommandLine, AnswersGoToTheRightStreamWithTheRightExitCode) {
    struct Case {
        std::vector<const char*> args;
        std::optional<int> exitCode;
        std::string out;      // the start of standard output
        std::string errStart; // the start of standard error
    };
    const std::vector<Case> cases = {
        {{}, std::nullopt, "", ""},
        {{"--help"}, 0, "Usage: koravex", ""},
        {{"--version"}, 0, std::string("koravex ") + shell::kVersion + "\n", ""},
        {{"--bogus"}, 2, "", "koravex: unknown option '--bogus'\nUsage: koravex"},
        // An argument's control bytes are shown escaped, never sent to the terminal.
        {{"--\x1b[7m\x9b"}, 2, "", "koravex: unknown option '--\\x1b[7m\\x9b'\nUsage: koravex"},
        {{"--", "\x1b]0;t\x07\xc3\xa9"}, 2, "",
         "koravex: unexpected argument '\\x1b]0;t\\x07\xc3\xa9'\nUsage: koravex"},
        {{"--samples", "\x1b[2J"}, 2, "",
         "koravex: invalid number of samples '\\x1b[2J' (0 to 16)\nUsage: koravex"},
        {{"--samples=4\r\x9b"}, 2, "",
         "koravex: invalid number of samples '4\\x0d\\x9b' (0 to 16)\nUsage: koravex"},
    };
    for (const Case& c : cases) {
        const File out(std::tmpfile()), err(std::tmpfile());
        ASSERT_TRUE(out && err);
        EXPECT_EQ(shell::AnswerCommandLine(Parse(c.args), out.get(), err.get()), c.exitCode);
        const std::string outText = Contents(out.get()), errText = Contents(err.get());
        EXPECT_EQ(outText.substr(0, c.out.size()), c.out);
        EXPECT_EQ(outText.empty(), c.out.empty()) << outText;
        EXPECT_EQ(errText.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(errText.empty(), c.errStart.empty()) << errText;
    }
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenIsAFailure) {
    const File full(std::fopen("/dev/full", "w")), err(std::tmpfile());
    ASSERT_TRUE(full && err);
    EXPECT_EQ(shell::AnswerCommandLine(Parse({"--help"}), full.get(), err.get()), 1);
    EXPECT_NE(Contents(err.get()).find("cannot write"), std::string::npos);
}

} // namespace
