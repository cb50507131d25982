// The two kinds of raised failure. Only the program entry catches them.
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

// Text from a file as a message quotes it: control bytes and bytes from 0x7F up are shown as
// \xNN, so that nothing read from a file reaches a box or a terminal raw.
inline std::string PrintableText(std::string_view text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            continue;
        }
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02x", c);
        out += code;
    }
    return out;
}

} // namespace base
