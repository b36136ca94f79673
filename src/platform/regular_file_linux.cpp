// SPDX-License-Identifier: MIT
#include "platform/regular_file_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/owned_posix.h"

namespace rv::platform {

FileText ReadRegularFile(const std::string& path, std::size_t limit) {
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    const Descriptor file_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    const int fd = file_descriptor.get();
    if (!file_descriptor.valid()) {
        return {errno, {}};
    }
    FileText file;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        file.error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        file.error = EINVAL;
    } else if (static_cast<std::size_t>(info.st_size) > limit) {
        file.error = EFBIG;
    } else {
        file.text.reserve(static_cast<std::size_t>(info.st_size));
        char buffer[1 << 16];
        while (file.error == 0) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got == 0) {
                break;
            }
            if (got < 0) {
                file.error = errno == EINTR ? 0 : errno;
                continue;
            }
            file.text.append(buffer, static_cast<std::size_t>(got));
            // The file may grow while it is read.
            file.error = file.text.size() > limit ? EFBIG : 0;
        }
    }
    if (file.error != 0) {
        file.text.clear();
    }
    return file;
}

}  // namespace rv::platform
