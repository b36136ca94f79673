#include "platform/file_system_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "platform/native_path.h"
#include "platform/owned_posix.h"
#include "text/text.h"

namespace rv::platform {
namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Whether the entry is a folder, following a link: only links and file systems that do not
// report the entry type cost a stat.
bool EntryIsFolder(int folder_fd, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat target {};
    return ::fstatat(folder_fd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
}

bool EntryIsLink(int folder_fd, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_LNK;
    }
    struct stat self {};
    return ::fstatat(folder_fd, entry.d_name, &self, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(self.st_mode);
}

CopyResult Failure(CopyOutcome outcome, std::string reason) {
    return {outcome, std::move(reason)};
}

std::string WithCause(std::string reason, int error) {
    return reason + " (" + std::strerror(error) + ")";
}

// The destination split into its folder and its name.
struct DestinationParts {
    std::string folder;
    std::string name;
    std::string folder_name;  // last component of the folder, for messages
};

DestinationParts SplitDestination(const std::string& destination) {
    DestinationParts parts;
    const auto slash = destination.find_last_of('/');
    if (slash == std::string::npos) {
        parts.folder = ".";
        parts.name = destination;
    } else {
        parts.folder = slash == 0 ? "/" : destination.substr(0, slash);
        parts.name = destination.substr(slash + 1);
    }
    std::string trimmed = parts.folder;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto cut = trimmed.find_last_of('/');
    parts.folder_name = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
    return parts;
}

CopyResult ReadFailure(int error) {
    return Failure(CopyOutcome::SourceUnreadable,
                   WithCause("the add-on file can no longer be read", error));
}

// Copies the content with read and write, for file systems the in-kernel copy cannot span.
// Returns 0 or the error, and tells which side failed.
int CopyByReadWrite(int in, int out, bool& read_failed) {
    std::vector<char> buffer(1 << 17);
    if (::lseek(in, 0, SEEK_SET) < 0 || ::lseek(out, 0, SEEK_SET) < 0 || ::ftruncate(out, 0) != 0) {
        read_failed = false;
        return errno;
    }
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
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
                read_failed = false;
                return errno;
            }
            done += static_cast<std::size_t>(put);
        }
    }
}

// Copies the whole content: a reflink where the file system shares blocks, else the in-kernel
// copy, else read and write. Returns 0 or the error.
int CopyContent(int in, int out, bool& read_failed) {
    read_failed = false;
    if (::ioctl(out, FICLONE, in) == 0) {
        return 0;
    }
    bool first = true;
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, 1U << 30, 0);
        if (copied == 0) {
            return 0;
        }
        if (copied > 0) {
            first = false;
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP ||
                                 errno == EINVAL || errno == EBADF;
        if (first && unsupported) {
            return CopyByReadWrite(in, out, read_failed);
        }
        return errno;
    }
}

std::string NamedTemporaryName() {
    static std::atomic<unsigned> sequence{0};
    static const unsigned long long seed = std::random_device{}();
    char name[48];
    std::snprintf(name, sizeof name, ".rv-part-%d-%llx-%u", static_cast<int>(::getpid()), seed,
                  sequence.fetch_add(1));
    return name;
}

// A file being written in the destination folder, not yet visible under the destination name.
// Removed when it is not moved into place.
class TemporaryFile {
public:
    TemporaryFile(int folder_fd, mode_t mode, posix::Temporary kind) : folder_fd_(folder_fd) {
        if (kind == posix::Temporary::Anonymous) {
            fd_.Reset(::openat(folder_fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
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
                               O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, mode));
            if (fd_.valid() || errno != EEXIST) {
                break;
            }
        }
        if (!fd_.valid()) {
            error_ = errno;
            name_.clear();
        }
    }
    ~TemporaryFile() {
        fd_.Reset();
        if (!name_.empty()) {
            ::unlinkat(folder_fd_, name_.c_str(), 0);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }
    int error() const { return error_; }

    // Gives the file the destination name unless something has that name. Returns 0 or the
    // error; EEXIST when the name is taken.
    int MoveIntoPlace(const std::string& name) {
        if (name_.empty()) {
            return LinkAnonymous(name);
        }
        if (::renameat2(folder_fd_, name_.c_str(), folder_fd_, name.c_str(), RENAME_NOREPLACE) ==
            0) {
            name_.clear();
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return errno;
        }
        // No atomic rename without replacing here: a link fails on a taken name all the same.
        if (::linkat(folder_fd_, name_.c_str(), folder_fd_, name.c_str(), 0) != 0) {
            return errno;
        }
        return 0;  // the destructor removes the temporary name
    }

private:
    int LinkAnonymous(const std::string& name) {
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

    int folder_fd_;
    Descriptor fd_;
    int error_ = 0;
    std::string name_;  // empty for an anonymous file
};

}  // namespace

std::optional<FolderListing> ListFolder(const std::string& folder, std::string* why) {
    const auto fail = [why](int error) -> std::optional<FolderListing> {
        if (why != nullptr) {
            *why = error == ENAMETOOLONG ? "the path is too long for the system"
                                         : WithCause("the folder cannot be listed", error);
        }
        return std::nullopt;
    };
    const std::string path = ResolveNativePath(folder);
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat self {};
    if (!fd.valid() || ::fstat(fd.get(), &self) != 0) {
        return fail(errno);
    }
    const int folder_fd = fd.get();
    const FolderStream dir(::fdopendir(folder_fd));
    if (!dir.valid()) {
        return fail(errno);
    }
    fd.Release();  // the stream closes it now
    FolderListing listing;
    listing.id = {static_cast<std::uint64_t>(self.st_dev), static_cast<std::uint64_t>(self.st_ino)};
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name)) {
            continue;
        }
        listing.entries.push_back(
            {entry->d_name, EntryIsFolder(folder_fd, *entry), EntryIsLink(folder_fd, *entry)});
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) {
                  return text::ListedBefore(a.name, b.name);
              });
    return listing;
}

std::optional<std::string> RealPath(const std::string& path) {
    const std::string native = ResolveNativePath(path);
    char* real = native.empty() ? nullptr : ::realpath(native.c_str(), nullptr);
    if (real == nullptr) {
        return std::nullopt;
    }
    std::string result(real);
    std::free(real);
    return result;
}

bool PathExists(const std::string& path) {
    const std::string native = ResolveNativePath(path);
    struct stat st {};
    return !native.empty() && ::lstat(native.c_str(), &st) == 0;
}

CopyResult CopyNewFile(const std::string& source, const std::string& destination) {
    return posix::CopyNewFileUsing(posix::Temporary::Anonymous, source, destination);
}

namespace posix {

CopyResult WriteFailure(int error, const std::string& folder_name) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return Failure(CopyOutcome::NoSpace, "the disk is full");
        case EFBIG:
            return Failure(CopyOutcome::Failed, "the file is too large to be written there");
        case EACCES:
        case EPERM:
        case EROFS:
            return Failure(CopyOutcome::PermissionDenied,
                           "the game's " + folder_name + " folder cannot be written");
        case EEXIST:
            return Failure(CopyOutcome::DestinationExists,
                           "something already exists at the destination");
        default:
            return Failure(CopyOutcome::Failed, WithCause("the file could not be written", error));
    }
}

CopyResult CopyNewFileUsing(Temporary temporary, const std::string& source,
                            const std::string& destination) {
    const std::string from = ResolveNativePath(source);
    const DestinationParts to = SplitDestination(ResolveNativePath(destination));
    if (to.name.empty()) {
        return Failure(CopyOutcome::Failed, "the destination names no file");
    }

    // O_NONBLOCK so that a pipe under an add-on name cannot hang the copy; it does not change
    // reading a regular file.
    const Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in.valid()) {
        return ReadFailure(errno);
    }
    struct stat source_stat {};
    if (::fstat(in.get(), &source_stat) != 0) {
        return ReadFailure(errno);
    }
    if (!S_ISREG(source_stat.st_mode)) {
        return Failure(CopyOutcome::SourceUnreadable, "the add-on file is not a regular file");
    }

    const Descriptor folder(::open(to.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        const int error = errno;
        if (error == ENOENT) {
            return Failure(CopyOutcome::DestinationFolderMissing,
                           "the game folder has no " + to.folder_name + " folder");
        }
        if (error == ENOTDIR) {
            return Failure(CopyOutcome::DestinationFolderMissing,
                           "the game's " + to.folder_name + " is not a folder");
        }
        return WriteFailure(error, to.folder_name);
    }
    struct stat existing {};
    if (::fstatat(folder.get(), to.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        return WriteFailure(EEXIST, to.folder_name);
    }

    TemporaryFile part(folder.get(), source_stat.st_mode & 0777, temporary);
    if (part.fd() < 0) {
        return WriteFailure(part.error(), to.folder_name);
    }
    bool read_failed = false;
    if (const int error = CopyContent(in.get(), part.fd(), read_failed); error != 0) {
        return read_failed ? ReadFailure(error) : WriteFailure(error, to.folder_name);
    }
    const timespec times[2] = {{0, UTIME_OMIT}, source_stat.st_mtim};
    if (::futimens(part.fd(), times) != 0) {
        return WriteFailure(errno, to.folder_name);
    }
    // Start writing the content out before the name appears, so that a file system that orders
    // data before names (ext4's default mode) cannot be left by a crash with an empty file under
    // the destination name. Waiting for the disk here (fsync) would cost a journal commit per
    // file, about twenty times the whole copy.
    if (::sync_file_range(part.fd(), 0, 0, SYNC_FILE_RANGE_WRITE) != 0 && errno != ESPIPE &&
        errno != EINVAL) {
        return WriteFailure(errno, to.folder_name);
    }
    if (const int error = part.MoveIntoPlace(to.name); error != 0) {
        return WriteFailure(error, to.folder_name);
    }
    return {CopyOutcome::Copied, {}};
}

}  // namespace posix
}  // namespace rv::platform
