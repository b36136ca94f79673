// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "receipts/game_files.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace rv {
namespace {

// Closes the descriptor when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

std::string Why(int error) {
    return std::strerror(error);
}

// The sub-folder below the root, with no link followed: by openat2 where the kernel has it,
// else by opening each part without following a link.
Fd OpenBelow(int root, const std::string& sub_folder) {
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, root, sub_folder.c_str(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) {
        return Fd(static_cast<int>(fd));
    }
    // The sub-folder is one part, checked to be no "." or ".." before.
    Fd folder(::openat(root, sub_folder.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat facts {};
    if (folder.get() < 0 && errno == ENOTDIR &&
        ::fstatat(root, sub_folder.c_str(), &facts, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(facts.st_mode)) {
        errno = ELOOP;
    }
    return folder;
}

std::string HashOf(int fd) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    std::array<char, 1 << 16> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        if (got < 0 && errno != EINTR) {
            return {};
        }
        XXH3_64bits_update(&state, buffer.data(),
                           static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    return HashHex(XXH3_64bits_digest(&state));
}

std::int64_t ModifiedNs(const struct stat& facts) {
    return static_cast<std::int64_t>(facts.st_mtim.tv_sec) * 1'000'000'000 + facts.st_mtim.tv_nsec;
}

// Looks at the opened file, whose facts it sets; a file that cannot be read through is not known
// to be as written.
Looked LookAtOpened(int fd, const ReceiptFile& file, struct stat& facts) {
    if (::fstat(fd, &facts) != 0) {
        return {Look::CannotCheck, Why(errno)};
    }
    if (!S_ISREG(facts.st_mode) || static_cast<std::uint64_t>(facts.st_size) != file.size ||
        ModifiedNs(facts) != file.modified_ns) {
        return {Look::Changed, {}};
    }
    const std::string hash = HashOf(fd);
    if (hash.empty()) {
        return {Look::CannotCheck, Why(errno)};
    }
    return {hash == file.hash ? Look::AsWritten : Look::Changed, {}};
}

// Whether the name in the folder is a regular file of the size and time written, looked at
// without following a link.
Looked FactsOf(int folder, const std::string& name, const ReceiptFile& file) {
    struct stat facts {};
    if (::fstatat(folder, name.c_str(), &facts, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? Looked{Look::Gone, {}} : Looked{Look::CannotCheck, Why(errno)};
    }
    const bool as_written = S_ISREG(facts.st_mode) &&
                            static_cast<std::uint64_t>(facts.st_size) == file.size &&
                            ModifiedNs(facts) == file.modified_ns;
    return {as_written ? Look::AsWritten : Look::Changed, {}};
}

// Deletes the name when it still names the file looked at, which has the facts given.
Looked DeleteChecked(int folder, const std::string& name, const struct stat& opened) {
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
        return {Look::Changed, {}};
    }
    if (::unlinkat(folder, name.c_str(), 0) != 0) {
        return {Look::CannotDelete, Why(errno)};
    }
    return {Look::Deleted, {}};
}

}  // namespace

struct GameFiles::Root {
    Fd fd;
    // The sub-folders opened for counting, by name, with the error of one that would not open.
    // A deletion never uses them: it opens its sub-folder afresh for each file.
    std::unordered_map<std::string, std::pair<Fd, int>> counted;

    // The sub-folder opened once for all the counts, or -1 with errno set.
    int CountedFolder(const std::string& sub_folder) {
        auto [known, added] = counted.try_emplace(sub_folder);
        if (added) {
            known->second.first = OpenBelow(fd.get(), sub_folder);
            known->second.second = errno;
        }
        errno = known->second.second;
        return known->second.first.get();
    }
};

GameFiles::GameFiles(const GameIdentity& game) : root_(std::make_unique<Root>()) {
    root_->fd = Fd(::open(game.path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat facts {};
    if (root_->fd.get() < 0) {
        problem_ = "the game folder " + game.path + ": " + Why(errno);
    } else if (game.Known() && (::fstat(root_->fd.get(), &facts) != 0 ||
                                facts.st_dev != game.device || facts.st_ino != game.node)) {
        problem_ = "the game folder " + game.path + " is not the one the add-on went into";
    }
}

GameFiles::~GameFiles() = default;

Looked GameFiles::LookBelow(const std::string& sub_folder, const std::string& name,
                            const ReceiptFile& file, Scrutiny scrutiny) const {
    const bool counting = scrutiny == Scrutiny::SizeAndTime;
    const Fd folder = counting ? Fd() : OpenBelow(root_->fd.get(), sub_folder);
    const int folder_fd = counting ? root_->CountedFolder(sub_folder) : folder.get();
    if (folder_fd < 0) {
        return errno == ELOOP || errno == EXDEV
                   ? Looked{Look::Outside, {}}
                   : Looked{Look::CannotCheck, "the folder " + sub_folder + ": " + Why(errno)};
    }
    if (counting) {
        return FactsOf(folder_fd, name, file);
    }
    const Fd opened(::openat(folder_fd, name.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (opened.get() < 0) {
        return errno == ENOENT  ? Looked{Look::Gone, {}}
               : errno == ELOOP ? Looked{Look::Changed, {}}
                                : Looked{Look::CannotCheck, Why(errno)};
    }
    struct stat facts {};
    Looked looked = LookAtOpened(opened.get(), file, facts);
    if (looked.look == Look::AsWritten && scrutiny == Scrutiny::WholeThenDelete) {
        looked = DeleteChecked(folder_fd, name, facts);
    }
    return looked;
}

}  // namespace rv
