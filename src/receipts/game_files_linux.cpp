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

// The hash of the file's first `size` bytes, its size when it was looked at: reading on to the
// end would cost a call per file of a large removal, and one that grew since has a new time,
// which the deletion checks. Empty when they cannot be read, with errno set; a file cut short
// since has another hash.
std::string HashOf(int fd, std::uint64_t size) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    std::array<char, 1 << 16> buffer;
    while (size > 0) {
        const ssize_t got =
            ::read(fd, buffer.data(),
                   static_cast<std::size_t>(std::min<std::uint64_t>(size, buffer.size())));
        if (got == 0) {
            break;
        }
        if (got < 0 && errno != EINTR) {
            return {};
        }
        const auto taken = static_cast<std::size_t>(std::max<ssize_t>(got, 0));
        XXH3_64bits_update(&state, buffer.data(), taken);
        size -= taken;
    }
    return size == 0 ? HashHex(XXH3_64bits_digest(&state)) : std::string("cut short");
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
    const std::string hash = HashOf(fd, file.size);
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

// Deletes the name when it still names the file looked at, which has the facts given, and the
// file still has them.
Looked DeleteChecked(int folder, const std::string& name, const struct stat& opened) {
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino ||
        opened.st_size != named.st_size || ModifiedNs(opened) != ModifiedNs(named)) {
        return {Look::Changed, {}};
    }
    if (::unlinkat(folder, name.c_str(), 0) != 0) {
        return {Look::CannotDelete, Why(errno)};
    }
    return {Look::Deleted, {}};
}

}  // namespace

struct GameFiles::Root {
    struct Opened {
        Fd fd;
        int error = 0;  // why it would not open
        struct stat facts {};
        bool recheck = false;  // before the next deletion in it
    };
    Fd fd;
    // The sub-folders opened, by name: opening one for every file of a large removal cost two
    // calls per file.
    std::unordered_map<std::string, Opened> folders;

    // The sub-folder, opened once, or -1 with errno set. Before a deletion (`again`) after
    // RecheckFolders it must still be the folder of that name below the game folder: one moved
    // away or swapped for a link since it was opened is opened afresh by its name.
    int Folder(const std::string& sub_folder, bool again) {
        auto [known, added] = folders.try_emplace(sub_folder);
        Opened& opened = known->second;
        struct stat now {};
        if (!added && again && opened.recheck && opened.fd.get() >= 0 &&
            (::fstatat(fd.get(), sub_folder.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
             now.st_dev != opened.facts.st_dev || now.st_ino != opened.facts.st_ino)) {
            added = true;
        }
        if (added) {
            opened.fd = OpenBelow(fd.get(), sub_folder);
            opened.error = errno;
            if (opened.fd.get() >= 0 && ::fstat(opened.fd.get(), &opened.facts) != 0) {
                opened = {Fd(), errno, {}};
            }
        }
        opened.recheck = opened.recheck && !again;
        errno = opened.error;
        return opened.fd.get();
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

void GameFiles::RecheckFolders() {
    for (auto& [name, opened] : root_->folders) {
        opened.recheck = true;
    }
}

Looked GameFiles::LookBelow(const std::string& sub_folder, const std::string& name,
                            const ReceiptFile& file, Scrutiny scrutiny) const {
    const bool counting = scrutiny == Scrutiny::SizeAndTime;
    const int folder_fd = root_->Folder(sub_folder, scrutiny == Scrutiny::WholeThenDelete);
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
