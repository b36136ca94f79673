// SPDX-License-Identifier: MIT
#include "platform/file_facts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/file_system_linux.h"
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
    return posix::RegularFileFacts(st);
}

FileFacts posix::RegularFileFacts(const struct stat& status) {
    return {EntryKind::RegularFile, static_cast<std::uint64_t>(status.st_size),
            std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

namespace {

// Opens a regular file for reading; -1 for anything else. O_NONBLOCK so that a pipe cannot hang
// the open. Reading to compare leaves the file's access time alone where the owner may ask so,
// which also spares the file system a write per file.
Descriptor OpenRegularFile(const std::string& path, int flags, struct stat& info) {
    const std::string native = ResolveNativePath(path);
    flags |= O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    Descriptor file(native.empty() ? -1 : ::open(native.c_str(), flags | O_NOATIME));
    if (!file.valid() && errno == EPERM) {
        file.Reset(::open(native.c_str(), flags));
    }
    if (file.valid() && (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        file.Reset();
    }
    return file;
}

// Reads as much as is there up to the buffer's size; the count, or -1.
ssize_t ReadFully(int file, std::span<char> buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t piece = ::read(file, buffer.data() + got, buffer.size() - got);
        if (piece == 0) {
            break;
        }
        if (piece < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        got += static_cast<std::size_t>(piece);
    }
    return static_cast<ssize_t>(got);
}

}  // namespace

bool SameContent(const std::string& addon_file, const std::string& game_file) {
    struct stat addon_info {};
    struct stat game_info {};
    const Descriptor addon = OpenRegularFile(addon_file, 0, addon_info);
    if (!addon.valid()) {
        return false;
    }
    const Descriptor game = OpenRegularFile(game_file, O_NOFOLLOW, game_info);
    if (!game.valid() || addon_info.st_size != game_info.st_size) {
        return false;
    }
    std::array<char, 1 << 16> mine;
    std::array<char, 1 << 16> theirs;
    for (off_t left = addon_info.st_size; left > 0;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<off_t>(left, static_cast<off_t>(mine.size())));
        const ssize_t got = ReadFully(addon.get(), std::span(mine.data(), want));
        if (got <= 0 || ReadFully(game.get(), std::span(theirs.data(), want)) != got ||
            std::memcmp(mine.data(), theirs.data(), static_cast<std::size_t>(got)) != 0) {
            return false;
        }
        left -= got;
    }
    return true;
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
