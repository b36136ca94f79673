// SPDX-License-Identifier: MIT
#include "platform/file_facts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/native_path.h"
#include "platform/owned_posix.h"

namespace rv::platform {

FileFacts LookAt(const std::string& path) {
    const std::string native = ResolveNativePath(path);
    struct stat st {};
    if (native.empty() || ::lstat(native.c_str(), &st) != 0) {
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        return {EntryKind::Other};
    }
    return {EntryKind::RegularFile, static_cast<std::uint64_t>(st.st_size),
            std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}

bool ReadPieces(const std::string& path, const std::function<void(std::span<const char>)>& take) {
    const std::string native = ResolveNativePath(path);
    const Descriptor file(
        native.empty() ? -1 : ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.valid()) {
        return false;
    }
    std::array<char, 1 << 16> buffer;
    ssize_t got = 0;
    while ((got = ::read(file.get(), buffer.data(), buffer.size())) != 0) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        if (got > 0) {
            take(std::span<const char>(buffer.data(), static_cast<std::size_t>(got)));
        }
    }
    return got == 0;
}

std::string RemoveFile(const std::string& path) {
    const std::string native = ResolveNativePath(path);
    if (native.empty() || ::unlink(native.c_str()) != 0) {
        return std::strerror(native.empty() ? ENOENT : errno);
    }
    return {};
}

}  // namespace rv::platform
