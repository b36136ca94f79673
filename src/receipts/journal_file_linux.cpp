// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "receipts/journal_file.h"

namespace rv {

struct JournalFile::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

JournalFile::JournalFile(const std::string& path) : handle_(std::make_unique<Handle>()) {
    handle_->fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (handle_->fd < 0) {
        problem_ = "cannot write " + path + ": " + std::strerror(errno);
    }
}

JournalFile::~JournalFile() = default;

std::string JournalFile::Append(const std::string& line) {
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t wrote = ::write(handle_->fd, line.data() + done, line.size() - done);
        if (wrote < 0 && errno != EINTR) {
            return errno == ENOSPC || errno == EDQUOT || errno == EFBIG ? "the disk is full"
                                                                        : std::strerror(errno);
        }
        done += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
    }
    return {};
}

std::string JournalFile::Sync() {
    return ::fdatasync(handle_->fd) == 0 ? std::string() : std::strerror(errno);
}

}  // namespace rv
