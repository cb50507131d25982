#include <cstdio>

#include "shell/app.h"
#include "shell/command_line.h"

int main(int argc, char** argv) {
    // Answered before anything touches the display, so --help works without one.
    if (const auto exitCode =
            shell::AnswerCommandLine(shell::ParseCommandLine(argc, argv), stdout, stderr))
        return *exitCode;
    return shell::RunProgram();
}
