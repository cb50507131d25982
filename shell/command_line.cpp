#include "shell/command_line.h"

#include <string_view>

#include "base/failure.h"
#include "shell/version.h"

namespace shell {

namespace {

constexpr std::string_view kUsage = R"(Usage: koravex [OPTION]
A 3D board game: whoever first holds the four corners of a square wins.

With no option the game starts in a window covering the primary display.

Options:
  -h, --help     show this text and exit
      --version  show the version and exit

Exit status: 0 after a normal end, 1 after a failure, 2 after a bad command line.
)";

bool Written(std::FILE* out) {
    return std::fflush(out) == 0 && std::ferror(out) == 0;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        // A bad argument is an error even beside --help: the command line was mistyped.
        if (optionsEnded || arg.empty() || arg.front() != '-') {
            return {CommandAction::UsageError,
                    "unexpected argument '" + base::PrintablePath(arg) + "'"};
        }
        if (arg == "-h" || arg == "--help") {
            if (line.action == CommandAction::Play) line.action = CommandAction::Help;
        } else if (arg == "--version") {
            if (line.action == CommandAction::Play) line.action = CommandAction::Version;
        } else {
            return {CommandAction::UsageError, "unknown option '" + base::PrintablePath(arg) + "'"};
        }
    }
    return line;
}

std::optional<int> AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.action) {
    case CommandAction::Play:
        return std::nullopt;
    case CommandAction::Help:
        std::fwrite(kUsage.data(), 1, kUsage.size(), out);
        break;
    case CommandAction::Version:
        std::fprintf(out, "koravex %s\n", kVersion);
        break;
    case CommandAction::UsageError:
        std::fprintf(err, "koravex: %s\n", line.problem.c_str());
        std::fwrite(kUsage.data(), 1, kUsage.size(), err);
        return 2;
    }
    // An answer that never arrived (a full disk, a closed descriptor) is not a success.
    if (!Written(out)) {
        std::fprintf(err, "koravex: cannot write to standard output\n");
        return 1;
    }
    return 0;
}

} // namespace shell
