// SPDX-License-Identifier: MIT
#include "platform/file_system_content_linux.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace rv::platform::posix {
namespace {

// A long copy goes in chunks of this many bytes, so the caller is asked often whether to go on
// and the writing out of each chunk waits for few of the disk's queue slots: a millisecond of
// work where the data is cached, some 10 ms on a disk that writes 100 MiB/s.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;
// Sharing blocks costs no data transfer, so its chunks are larger.
constexpr off_t kCloneChunk = off_t{256} << 20;

}  // namespace

bool ContentCopy::ChunkDone(std::size_t bytes) {
    if (bytes >= kCopyChunk) {
        static_cast<void>(
            ::sync_file_range(out, written, static_cast<off_t>(bytes), SYNC_FILE_RANGE_WRITE));
    }
    written += static_cast<off_t>(bytes);
    return GoOn();
}

int ContentCopy::Run(off_t size) {
    if (!GoOn()) {
        return kStoppedByCaller;
    }
    if (may_clone) {
        bool unsupported = false;
        const int cloned = Clone(size, unsupported);
        if (!unsupported) {
            return cloned == 0 && watcher ? ShowClone() : cloned;
        }
        clone_refused = true;
    }
    return watcher ? CopyByReadWrite(size, false) : CopyInKernel(size);
}

int ContentCopy::Clone(off_t size, bool& unsupported) {
    for (off_t offset = 0;; offset += kCloneChunk) {
        const bool last = size - offset <= kCloneChunk;
        // A length of 0 shares up to the end, however long the file has become.
        const file_clone_range range{in, static_cast<__u64>(offset),
                                     last ? 0 : static_cast<__u64>(kCloneChunk),
                                     static_cast<__u64>(offset)};
        if (::ioctl(out, FICLONERANGE, &range) != 0) {
            unsupported = offset == 0;
            return errno;
        }
        if (last) {
            struct stat shared {};
            if (::fstat(out, &shared) != 0) {
                return errno;
            }
            copied = shared.st_size;
            return 0;
        }
        if (!GoOn()) {
            return kStoppedByCaller;
        }
    }
}

std::size_t ContentCopy::NextPiece(off_t size, std::size_t most) const {
    return static_cast<std::size_t>(std::min(size - copied, static_cast<off_t>(most)));
}

int ContentCopy::CopyInKernel(off_t size) {
    while (copied < size) {
        const ssize_t got =
            ::copy_file_range(in, nullptr, out, nullptr, NextPiece(size, kCopyChunk), 0);
        if (got == 0) {
            return 0;
        }
        if (got > 0) {
            copied += got;
            if (!ChunkDone(static_cast<std::size_t>(got))) {
                return kStoppedByCaller;
            }
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP ||
                                 errno == EINVAL || errno == EBADF;
        if (copied == 0 && unsupported) {
            return CopyByReadWrite(size, true);
        }
        return errno;
    }
    return ReadPastTheSize();
}

int ContentCopy::CopyByReadWrite(off_t size, bool again) {
    if (again && (::lseek(in, 0, SEEK_SET) < 0 || ::lseek(out, 0, SEEK_SET) < 0 ||
                  ::ftruncate(out, 0) != 0)) {
        return errno;
    }
    std::array<char, 1 << 16> buffer;
    std::size_t since_asked = 0;
    while (copied < size) {
        const ssize_t got = ::read(in, buffer.data(), NextPiece(size, buffer.size()));
        if (got == 0) {
            return 0;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            read_failed = true;
            return errno;
        }
        std::size_t done = 0;
        while (done < static_cast<std::size_t>(got)) {
            const ssize_t put =
                ::write(out, buffer.data() + done, static_cast<std::size_t>(got) - done);
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            done += static_cast<std::size_t>(put);
        }
        if (watcher) {
            watcher(std::span<const char>(buffer.data(), done));
        }
        copied += static_cast<off_t>(done);
        since_asked += done;
        if (since_asked >= kCopyChunk) {
            if (!ChunkDone(std::exchange(since_asked, 0))) {
                return kStoppedByCaller;
            }
        }
    }
    return ReadPastTheSize();
}

int ContentCopy::ReadPastTheSize() {
    char byte = 0;
    ssize_t got = 0;
    do {
        got = ::read(in, &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        read_failed = true;
        return errno;
    }
    copied += got;
    return 0;
}

int ContentCopy::ShowClone() {
    std::array<char, 1 << 16> buffer;
    std::size_t since_asked = 0;
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(out, buffer.data(), buffer.size(), offset);
        if (got == 0) {
            return 0;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        watcher(std::span<const char>(buffer.data(), static_cast<std::size_t>(got)));
        offset += got;
        since_asked += static_cast<std::size_t>(got);
        if (since_asked >= kCopyChunk) {
            since_asked = 0;
            if (!GoOn()) {
                return kStoppedByCaller;
            }
        }
    }
}

}  // namespace rv::platform::posix
