#include "shell/command_line.h"

#include <optional>
#include <string_view>

#include "base/failure.h"
#include "shell/version.h"

namespace shell {

namespace {

constexpr std::string_view kUsage = R"(Usage: koravex [OPTION]
A 3D board game: whoever first holds the four corners of a square wins.

With no option the game starts in a window covering the primary display.

Options:
      --samples N  smooth edges with N samples per pixel (0 turns it off); by
                   default 4 on graphics hardware, none with software rendering
  -h, --help       show this text and exit
      --version    show the version and exit

Keys in the game:
  W A S D, keypad 8 4 2 6  move the cell cursor (W: away from you)
  Enter, Space             place a piece on the cursor's cell
  arrow keys               turn the view
  Tab                      open or close the panel
  F2, F3                   switch seat 1 or 2 between person and computer
  B                        switch who begins
  + -                      move the strength knob by 5
  N                        new game
  Ctrl+Z, Backspace        undo: take a move back (against the computer, its reply too)
  Ctrl+Shift+Z, Ctrl+Y     redo: put back what the undo took
  Ctrl+H, ?                hint: the cursor jumps to the best move; Enter plays it
  F1, H                    help (a click or any key closes it)
  Esc                      quit (twice during a game)

Exit status: 0 after a normal end, 1 after a failure, 2 after a bad command line.
)";

constexpr int kMostSamples = 16;

// A count of samples from 0 to 16, digits only.
std::optional<int> ParseSamples(std::string_view text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > kMostSamples) return std::nullopt;
    return value;
}

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
        } else if (arg == "--samples" || arg.starts_with("--samples=")) {
            const bool joined = arg != "--samples";
            if (!joined && i + 1 == argc)
                return {CommandAction::UsageError, "option '--samples' needs a number"};
            const std::string_view value =
                joined ? arg.substr(arg.find('=') + 1) : std::string_view(argv[++i] ? argv[i] : "");
            const auto samples = ParseSamples(value);
            if (!samples)
                return {CommandAction::UsageError,
                        "invalid number of samples '" + base::PrintablePath(value) + "' (0 to 16)"};
            line.samples = *samples;
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
