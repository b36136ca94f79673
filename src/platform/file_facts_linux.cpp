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
#include "platform/regular_file_linux.h"

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
    RegularFile addon;
    RegularFile game;
    if (OpenRegularFile(ResolveNativePath(addon_file), Links::Follow, addon) != 0 ||
        OpenRegularFile(ResolveNativePath(game_file), Links::Refuse, game) != 0 ||
        addon.info.st_size != game.info.st_size) {
        return false;
    }
    std::array<char, 1 << 16> mine;
    std::array<char, 1 << 16> theirs;
    for (off_t left = addon.info.st_size; left > 0;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<off_t>(left, static_cast<off_t>(mine.size())));
        const ssize_t got = ReadFully(addon.fd.get(), std::span(mine.data(), want));
        if (got <= 0 || ReadFully(game.fd.get(), std::span(theirs.data(), want)) != got ||
            std::memcmp(mine.data(), theirs.data(), static_cast<std::size_t>(got)) != 0) {
            return false;
        }
        left -= got;
    }
    return true;
}

struct PieceReader::File {
    RegularFile file;
    bool opened = false;
};

PieceReader::PieceReader(const std::string& path) : file_(std::make_unique<File>()) {
    // A pipe or a device named like the file must not hold the reader.
    file_->opened = OpenRegularFile(ResolveNativePath(path), Links::Refuse, file_->file) == 0;
}

PieceReader::~PieceReader() = default;

bool PieceReader::Next(std::span<const char>& piece) {
    if (!file_->opened) {
        return false;
    }
    ssize_t got = -1;
    while ((got = ::read(file_->file.fd.get(), buffer_.data(), buffer_.size())) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    piece = std::span<const char>(buffer_.data(), static_cast<std::size_t>(got));
    return true;
}

std::string RemoveFile(const std::string& path) {
    const std::string native = ResolveNativePath(path);
    if (native.empty() || ::unlink(native.c_str()) != 0) {
        return std::strerror(native.empty() ? ENOENT : errno);
    }
    return {};
}

}  // namespace rv::platform
