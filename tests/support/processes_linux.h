// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace rv::test {

// The id of a process that has ended.
inline pid_t GoneProcess() {
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    return gone;
}

// Runs the action as on a disk that holds only so many more bytes: with the process's file size
// limit set that low, and a write past it failing instead of ending the process.
inline void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& action) {
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{bytes, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    action();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);
}

}  // namespace rv::test
