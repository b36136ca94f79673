// SPDX-License-Identifier: MIT
#include "platform/regular_file_linux.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace rv::platform {

int OpenRegularFile(const std::string& path, Links links, RegularFile& file) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refuse ? O_NOFOLLOW : 0);
    // Reading a file leaves its access time alone where the owner may ask so, which also spares
    // the file system a write per file read.
    file.fd.Reset(::open(path.c_str(), flags | O_NOATIME));
    if (!file.fd.valid() && errno == EPERM) {
        file.fd.Reset(::open(path.c_str(), flags));
    }
    if (!file.fd.valid() || ::fstat(file.fd.get(), &file.info) != 0) {
        const int error = errno;
        file.fd.Reset();
        return error;
    }
    if (!S_ISREG(file.info.st_mode)) {
        file.fd.Reset();
        return EINVAL;
    }
    return 0;
}

FileText ReadRegularFile(const std::string& path, std::size_t limit) {
    RegularFile opened;
    FileText file{OpenRegularFile(path, Links::Follow, opened), {}};
    if (file.error == 0 && static_cast<std::size_t>(opened.info.st_size) > limit) {
        file.error = EFBIG;
    }
    if (file.error != 0) {
        return file;
    }
    file.text.reserve(static_cast<std::size_t>(opened.info.st_size));
    char buffer[1 << 16];
    while (file.error == 0) {
        const ssize_t got = ::read(opened.fd.get(), buffer, sizeof buffer);
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
    if (file.error != 0) {
        file.text.clear();
    }
    return file;
}

}  // namespace rv::platform
