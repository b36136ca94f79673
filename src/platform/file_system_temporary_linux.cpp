// SPDX-License-Identifier: MIT
#include "platform/file_system_temporary_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

#include "platform/native_path.h"

namespace rv::platform {
namespace {

// A named temporary is ".rv-part-", the id of the process that writes it, "-", a random number
// in hexadecimal, "-" and a sequence number.
constexpr std::string_view kTemporaryPrefix = ".rv-part-";

std::string NamedTemporaryName() {
    static std::atomic<unsigned> sequence{0};
    static const unsigned long long seed = std::random_device{}();
    char name[48];
    std::snprintf(name, sizeof name, "%s%d-%llx-%u", kTemporaryPrefix.data(),
                  static_cast<int>(::getpid()), seed, sequence.fetch_add(1));
    return name;
}

// Takes the leading digits (of the base) off the text; false when there are none.
bool TakeNumber(std::string_view& text, int base, unsigned long long& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number, base);
    if (error != std::errc() || stop == text.data()) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(stop - text.data()));
    return true;
}

bool TakeDash(std::string_view& text) {
    if (!text.starts_with('-')) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

// The id of the process that wrote the temporary of that name; 0 when the name is not one of
// ours.
pid_t WriterOfTemporary(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix)) {
        return 0;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    unsigned long long pid = 0, seed = 0, sequence = 0;
    const bool ours = TakeNumber(name, 10, pid) && TakeDash(name) && TakeNumber(name, 16, seed) &&
                      TakeDash(name) && TakeNumber(name, 10, sequence) && name.empty();
    return ours && pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

// The modification time that marks a reservation: 1980-01-02 00:00:00 UTC, which FAT, exFAT and
// NTFS all keep. A file system that keeps local time may show it some hours apart.
constexpr time_t kReservationTime = 315'619'200;
constexpr time_t kReservationSlack = 24 * 60 * 60;

// An empty file with the reservation's time: one a copy reserved and never filled.
bool IsLeftReservation(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_size == 0 &&
           info.st_mtim.tv_sec > kReservationTime - kReservationSlack &&
           info.st_mtim.tv_sec < kReservationTime + kReservationSlack;
}

// Removes the regular files of those names, or only the left reservations among them.
void RemoveFiles(int folder_fd, const std::vector<std::string>& names, bool reservations) {
    for (const std::string& name : names) {
        struct stat info {};
        if (::fstatat(folder_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && (!reservations || IsLeftReservation(info))) {
            ::unlinkat(folder_fd, name.c_str(), 0);
        }
    }
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder) {
    const FolderStream dir(::opendir(ResolveNativePath(folder).c_str()));
    if (!dir.valid()) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        // A writer that is alive, also under another user (EPERM), may still finish its copy.
        const pid_t writer = WriterOfTemporary(entry->d_name);
        if (writer != 0 && writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH) {
            stale.emplace_back(entry->d_name);
        }
    }
    RemoveFiles(::dirfd(dir.get()), stale, false);
    if (stale.empty()) {
        return;
    }
    // A reservation is left only by a copy that ended before its filled temporary took the
    // name, so only beside such a temporary.
    std::vector<std::string> others;
    ::rewinddir(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (WriterOfTemporary(entry->d_name) == 0 && entry->d_type != DT_DIR) {
            others.emplace_back(entry->d_name);
        }
    }
    RemoveFiles(::dirfd(dir.get()), others, true);
}

namespace posix {

TemporaryFile::TemporaryFile(int folder_fd, mode_t mode, Temporary kind) : folder_fd_(folder_fd) {
    if (kind == Temporary::Anonymous) {
        fd_.Reset(::openat(folder_fd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
        if (fd_.valid()) {
            return;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            error_ = errno;
            return;
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        name_ = NamedTemporaryName();
        fd_.Reset(::openat(folder_fd, name_.c_str(),
                           O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, mode));
        if (fd_.valid() || errno != EEXIST) {
            break;
        }
    }
    if (!fd_.valid()) {
        error_ = errno;
        name_.clear();
    }
}

TemporaryFile::~TemporaryFile() {
    fd_.Reset();
    if (!name_.empty()) {
        ::unlinkat(folder_fd_, name_.c_str(), 0);
    }
}

int TemporaryFile::MoveIntoPlace(const std::string& name, Publishing& way) {
    if (name_.empty()) {
        return LinkAnonymous(name);
    }
    if (way == Publishing::NoReplaceRename) {
        if (::renameat2(folder_fd_, name_.c_str(), folder_fd_, name.c_str(), RENAME_NOREPLACE) ==
            0) {
            name_.clear();
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return errno;
        }
        way = Publishing::Link;
    }
    if (way == Publishing::Link) {
        // No atomic rename without replacing here: a link fails on a taken name all the same.
        // The destructor removes the temporary name.
        if (::linkat(folder_fd_, name_.c_str(), folder_fd_, name.c_str(), 0) == 0) {
            return 0;
        }
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
            return errno;
        }
        way = Publishing::Reservation;
    }
    return Reserve(name);
}

int TemporaryFile::Reserve(const std::string& name) {
    Descriptor reserved(::openat(folder_fd_, name.c_str(),
                                 O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!reserved.valid()) {
        return errno;  // EEXIST when the name is taken
    }
    const timespec marked[2] = {{kReservationTime, 0}, {kReservationTime, 0}};
    int error = ::futimens(reserved.get(), marked) == 0 ? 0 : errno;
    if (::close(reserved.Release()) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::renameat(folder_fd_, name_.c_str(), folder_fd_, name.c_str()) == 0) {
        name_.clear();
        return 0;
    }
    error = error != 0 ? error : errno;
    // Still empty and marked, the reservation is ours to take back.
    struct stat info {};
    if (::fstatat(folder_fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        IsLeftReservation(info)) {
        ::unlinkat(folder_fd_, name.c_str(), 0);
    }
    return error;
}

int TemporaryFile::ReplaceInto(const std::string& name) {
    if (::renameat(folder_fd_, name_.c_str(), folder_fd_, name.c_str()) != 0) {
        return errno;
    }
    name_.clear();
    return 0;
}

int TemporaryFile::Close() {
    return ::close(fd_.Release()) == 0 ? 0 : errno;
}

int TemporaryFile::LinkAnonymous(const std::string& name) {
    if (::linkat(fd_.get(), "", folder_fd_, name.c_str(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    if (errno == EEXIST) {
        return errno;
    }
    // Without the right to link by descriptor, the /proc name of the descriptor does it.
    const std::string own = "/proc/self/fd/" + std::to_string(fd_.get());
    if (::linkat(AT_FDCWD, own.c_str(), folder_fd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    return errno;
}

}  // namespace posix
}  // namespace rv::platform
