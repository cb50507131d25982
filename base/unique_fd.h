// A POSIX file descriptor that closes itself.
#pragma once

#include <unistd.h>

namespace base {

struct UniqueFd {
    int fd = -1;

    UniqueFd() = default;
    explicit UniqueFd(int value) : fd(value) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd >= 0) close(fd);
    }

    // Hands the descriptor over, for a close whose result matters.
    int Release() {
        const int value = fd;
        fd = -1;
        return value;
    }
};

} // namespace base
