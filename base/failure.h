// The two kinds of raised failure. Only the program entry catches them.
#pragma once

#include <stdexcept>
#include <string>

namespace base {

// A file or folder operation failed: "File not found", "Read beyond end of file", ...
struct IoFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Text that should hold a number did not: "'x' is not a valid integer value".
struct ConvertFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace base
