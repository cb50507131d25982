// How the game fails, in every layer:
//
// - Throw (IoFailure, ConvertFailure) when the run cannot go on: a file, folder or archive member
//   that fails, text that should be a number. Nothing below the program's entry catches them:
//   RunProgram runs the cleanups marked for errors (base/way_out.h), shows the "Application
//   Error" box naming the kind and the message, runs the other cleanups and returns 1.
// - Report (ShowEngineError, base/report.h) when the user must be told and the engine's stores
//   no longer hold: the "VEngine internal error" box, the stores emptied, and the caller goes on.
//   The archive reader reports, then throws, since its reports also stop the run.
// - Return "none" (a slot of -1, an empty optional, false) when the caller decides: a picture
//   that does not decode, a place that gives no workspace, a set-up step of the window that
//   failed (its own "Error" box; the run then ends with 1).
// - QuitRequest is no failure: a signal asked the game to end while it loads. It unwinds to
//   RunProgram, which ends as if the window had closed: every cleanup, no box, exit code 0.
// - End at once (base::EndNow) only when the display is gone: the cleanups marked for errors, a
//   line on stderr, exit code 1, and nothing more called on the dead connection.
//
// Every message shows the paths, command-line arguments and file content it quotes through
// PrintablePath or PrintableText, so that no control byte reaches a box or a terminal raw.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace base {

// A file or folder operation failed: "File not found", "Read beyond end of file", ...
struct IoFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Text that should hold a number did not: "'x' is not a valid integer value".
struct ConvertFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A signal asked the game to end while it was loading.
struct QuitRequest {};

// One byte as a message shows it: \xNN.
inline std::string EscapedByte(unsigned char c) {
    char code[5];
    std::snprintf(code, sizeof code, "\\x%02x", c);
    return code;
}

// Text from a file as a message quotes it: control bytes and bytes from 0x7F up are shown as
// \xNN, so that nothing read from a file reaches a box or a terminal raw.
inline std::string PrintableText(std::string_view text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else
            out += EscapedByte(c);
    }
    return out;
}

// A path or an argument as a message quotes it: like PrintableText, except that letters
// beyond ASCII written in UTF-8 stay as they are (C1 controls, from U+0080 to U+009F, do not).
std::string PrintablePath(std::string_view path);

} // namespace base
