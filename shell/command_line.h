// The program's command line: a plain start plays (--samples N chooses the smoothing); --help and
// --version answer on standard output without opening a display; anything else is a usage error.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace shell {

enum class CommandAction { Play, Help, Version, UsageError };

struct CommandLine {
    CommandAction action = CommandAction::Play;
    std::string problem; // for a usage error: what is wrong, naming the argument
    int samples = -1;    // samples per pixel asked with --samples; -1 leaves it to the renderer
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The exit code when the command line is answered without playing (0 after --help or
// --version, 1 when standard output cannot be written, 2 after a usage error); nothing when
// the game is to start.
std::optional<int> AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);

} // namespace shell
