// SPDX-License-Identifier: MIT
#include "platform/file_system_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>
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

// A long copy goes in chunks of this many bytes, so the caller is asked often whether to go on
// and the writing out of each chunk waits for few of the disk's queue slots: a millisecond of
// work where the data is cached, some 10 ms on a disk that writes 100 MiB/s.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;
// Sharing blocks costs no data transfer, so its chunks are larger.
constexpr off_t kCloneChunk = off_t{256} << 20;

// The error a copy returns when the caller stopped it.
constexpr int kStoppedByCaller = ECANCELED;

// Moves the content of one file into another, telling which side failed.
struct ContentCopy {
    int in;
    int out;  // open for reading too, so that a clone can be shown to the watcher
    const KeepCopying& keep_copying;
    const ContentWatcher& watcher;
    bool may_clone = true;  // false where sharing blocks is known to fail
    bool read_failed = false;
    bool clone_refused = false;  // the file systems would not share the blocks
    off_t written = 0;           // started towards the disk
    off_t copied = 0;            // the length of the copy

    bool GoOn() const { return !keep_copying || keep_copying(); }

    // After each chunk: starts writing a full chunk out to the disk, so that the flush before
    // the name appears has little left to do and cannot hold the caller for long (a file smaller
    // than a chunk is left to that one flush); then asks whether to go on.
    bool ChunkDone(std::size_t bytes) {
        if (bytes >= kCopyChunk) {
            static_cast<void>(
                ::sync_file_range(out, written, static_cast<off_t>(bytes), SYNC_FILE_RANGE_WRITE));
        }
        written += static_cast<off_t>(bytes);
        return GoOn();
    }

    // Copies the content, `size` bytes as the source had when opened: shared blocks where the
    // file system can share them, else the in-kernel copy, else read and write. A watcher needs
    // the bytes in the program: it gets the shared blocks read back, or a copy by read and write.
    // Returns 0 or the error. A source that grew or shrank meanwhile gives a copy of another
    // length or a source of another size afterwards, which the caller checks.
    int Run(off_t size) {
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

private:
    int Clone(off_t size, bool& unsupported) {
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

    // The bytes to ask for next: at most `most`, and none beyond the size.
    std::size_t NextPiece(off_t size, std::size_t most) const {
        return static_cast<std::size_t>(std::min(size - copied, static_cast<off_t>(most)));
    }

    int CopyInKernel(off_t size) {
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

    // For file systems the in-kernel copy cannot span, and for a watcher. `again` when an
    // attempt before may have moved the offsets or written part of the content.
    int CopyByReadWrite(off_t size, bool again) {
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

    // Once the size is copied: a source longer than its size said (one that grew, or one whose
    // size is not kept, as under /proc) still gives a byte, which makes the copy's length wrong.
    int ReadPastTheSize() {
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

    // Reads the shared blocks back from the copy for the watcher.
    int ShowClone() {
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
};

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

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

// A file being written in the destination folder, not yet visible under the destination name.
// Removed when it is not moved into place.
class TemporaryFile {
public:
    TemporaryFile(int folder_fd, mode_t mode, posix::Temporary kind) : folder_fd_(folder_fd) {
        if (kind == posix::Temporary::Anonymous) {
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

// A destination folder, open for the copies into it.
struct DestinationFolder {
    std::string path;
    Descriptor fd;
    // The file system of sources whose blocks this folder's would not share: not asked again.
    std::optional<dev_t> no_clone_from;
};

// The folders kept open while a DestinationFoldersKept lives on this thread.
struct KeptFolders {
    int scopes = 0;
    std::vector<DestinationFolder> folders;
};

KeptFolders& Kept() {
    thread_local KeptFolders kept;
    return kept;
}

// The open destination folder of that path: a kept one, else `single`, opened now (and kept when
// folders are). Null when it cannot be opened; errno says why.
DestinationFolder* OpenDestinationFolder(const std::string& path, DestinationFolder& single) {
    KeptFolders& kept = Kept();
    if (kept.scopes > 0) {
        for (DestinationFolder& folder : kept.folders) {
            if (folder.path == path) {
                return &folder;
            }
        }
    }
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return nullptr;
    }
    if (kept.scopes == 0) {
        single.fd = std::move(fd);
        return &single;
    }
    return &kept.folders.emplace_back(path, std::move(fd));
}

// A folder removed while it was open takes no new files; it is forgotten, so that the next copy
// opens what is at its path now.
bool ForgetIfRemoved(DestinationFolder& folder) {
    struct stat self {};
    if (::fstat(folder.fd.get(), &self) != 0 || self.st_nlink != 0) {
        return false;
    }
    folder.path.clear();
    folder.fd.Reset();
    return true;
}

CopyResult FolderMissing(int error, const std::string& folder_name) {
    if (error == ENOENT) {
        return Failure(CopyOutcome::DestinationFolderMissing,
                       "the game folder has no " + folder_name + " folder");
    }
    if (error == ENOTDIR) {
        return Failure(CopyOutcome::DestinationFolderMissing,
                       "the game's " + folder_name + " is not a folder");
    }
    return posix::WriteFailure(error, folder_name);
}

}  // namespace

DestinationFoldersKept::DestinationFoldersKept() {
    ++Kept().scopes;
}

DestinationFoldersKept::~DestinationFoldersKept() {
    if (--Kept().scopes == 0) {
        Kept().folders.clear();
    }
}

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

CopyResult CopyNewFile(const std::string& source, const std::string& destination,
                       const KeepCopying& keep_copying, const ContentWatcher& watcher) {
    return posix::CopyNewFileUsing(posix::Temporary::Anonymous, source, destination, keep_copying,
                                   watcher);
}

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
    for (const std::string& name : stale) {
        struct stat info {};
        if (::fstatat(::dirfd(dir.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(dir.get()), name.c_str(), 0);
        }
    }
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
                            const std::string& destination, const KeepCopying& keep_copying,
                            const ContentWatcher& watcher) {
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

    DestinationFolder single;
    DestinationFolder* const folder = OpenDestinationFolder(to.folder, single);
    if (folder == nullptr) {
        return FolderMissing(errno, to.folder_name);
    }
    // The destination name is not looked at first: the finished copy takes it only where
    // nothing has it, however late something else took it.

    TemporaryFile part(folder->fd.get(), source_stat.st_mode & 0777, temporary);
    if (part.fd() < 0) {
        return FolderMissing(ForgetIfRemoved(*folder) ? ENOENT : part.error(), to.folder_name);
    }
    ContentCopy content{in.get(), part.fd(), keep_copying, watcher};
    content.may_clone = folder->no_clone_from != source_stat.st_dev;
    const int copy_error = content.Run(source_stat.st_size);
    if (content.clone_refused) {
        folder->no_clone_from = source_stat.st_dev;
    }
    if (copy_error == kStoppedByCaller) {
        return Failure(CopyOutcome::Stopped, "the copy was stopped");
    }
    if (copy_error != 0) {
        return content.read_failed ? ReadFailure(copy_error)
                                   : WriteFailure(copy_error, to.folder_name);
    }
    // A source that was written to meanwhile may have been copied half old, half new.
    struct stat source_after {};
    if (::fstat(in.get(), &source_after) != 0) {
        return ReadFailure(errno);
    }
    if (content.copied != source_stat.st_size || source_after.st_size != source_stat.st_size ||
        !SameTime(source_after.st_mtim, source_stat.st_mtim)) {
        return Failure(CopyOutcome::SourceChanged, "the add-on file changed while it was copied");
    }
    const timespec times[2] = {{0, UTIME_OMIT}, source_stat.st_mtim};
    struct stat copy_stat {};  // the time as the file system keeps it, maybe coarser
    if (::futimens(part.fd(), times) != 0 || ::fstat(part.fd(), &copy_stat) != 0) {
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
    return {CopyOutcome::Copied, {}, static_cast<bool>(watcher), RegularFileFacts(copy_stat)};
}

}  // namespace posix
}  // namespace rv::platform
