#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace rv::test {

// Lowers the largest file this process may write, for as long as it is in scope, so that a copy
// fails midway as on a full disk (Linux only).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : old_handler_(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    sighandler_t old_handler_;
    rlimit saved_{};
};

}  // namespace rv::test
