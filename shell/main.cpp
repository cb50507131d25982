#include <cstdio>

#include "platform/window_state.h"
#include "shell/app.h"
#include "shell/command_line.h"

int main(int argc, char** argv) {
    // Answered before anything touches the display, so --help works without one.
    const shell::CommandLine line = shell::ParseCommandLine(argc, argv);
    if (const auto exitCode = shell::AnswerCommandLine(line, stdout, stderr)) return *exitCode;
    platform::RequestSamples(line.samples);
    return shell::RunProgram();
}
