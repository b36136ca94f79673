// SPDX-License-Identifier: MIT
#include "platform/file_system_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/file_system_content_linux.h"
#include "platform/file_system_folders_linux.h"
#include "platform/file_system_temporary_linux.h"
#include "platform/native_path.h"
#include "platform/owned_posix.h"
#include "platform/regular_file_linux.h"

namespace rv::platform {
namespace {

CopyResult Failure(CopyOutcome outcome, std::string reason) {
    return {outcome, std::move(reason)};
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
                   posix::WithCause("the add-on file can no longer be read", error));
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Opens the add-on file for the copy. Empty when it is open, else the failure.
std::optional<CopyResult> OpenSource(const std::string& path, RegularFile& in) {
    const int error = OpenRegularFile(path, Links::Follow, in);
    if (error == EINVAL) {
        return Failure(CopyOutcome::SourceUnreadable, "the add-on file is not a regular file");
    }
    if (error != 0) {
        return ReadFailure(error);
    }
    return std::nullopt;
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

// Copies the content of the open source into the temporary and checks that the source stayed as
// it was. Empty when the whole content is copied, else the failure.
std::optional<CopyResult> CopyContent(int in, const struct stat& source, int out,
                                      posix::DestinationFolder& folder,
                                      const KeepCopying& keep_copying,
                                      const ContentWatcher& watcher,
                                      const std::string& folder_name) {
    posix::ContentCopy content{in, out, keep_copying, watcher};
    content.may_clone = folder.no_clone_from != source.st_dev;
    const int copy_error = content.Run(source.st_size);
    if (content.clone_refused) {
        folder.no_clone_from = source.st_dev;
    }
    if (copy_error == posix::kStoppedByCaller) {
        return Failure(CopyOutcome::Stopped, "the copy was stopped");
    }
    if (copy_error != 0) {
        return content.read_failed ? ReadFailure(copy_error)
                                   : posix::WriteFailure(copy_error, folder_name);
    }
    // A source that was written to meanwhile may have been copied half old, half new.
    struct stat after {};
    if (::fstat(in, &after) != 0) {
        return ReadFailure(errno);
    }
    if (content.copied != source.st_size || after.st_size != source.st_size ||
        !SameTime(after.st_mtim, source.st_mtim)) {
        return Failure(CopyOutcome::SourceChanged, "the add-on file changed while it was copied");
    }
    return std::nullopt;
}

// Gives the finished temporary the source's modification time and the destination name.
CopyResult Publish(posix::TemporaryFile& part, const struct stat& source,
                   const DestinationParts& to, posix::Publishing& way, bool watched) {
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    struct stat copy {};  // the time as the file system keeps it, maybe coarser
    if (::futimens(part.fd(), times) != 0 || ::fstat(part.fd(), &copy) != 0) {
        return posix::WriteFailure(errno, to.folder_name);
    }
    // Start writing the content out before the name appears, so that a file system that orders
    // data before names (ext4's default mode) cannot be left by a crash with an empty file under
    // the destination name. Waiting for the disk here (fsync) would cost a journal commit per
    // file, about twenty times the whole copy.
    if (::sync_file_range(part.fd(), 0, 0, SYNC_FILE_RANGE_WRITE) != 0 && errno != ESPIPE &&
        errno != EINVAL) {
        return posix::WriteFailure(errno, to.folder_name);
    }
    if (const int error = part.MoveIntoPlace(to.name, way); error != 0) {
        return posix::WriteFailure(error, to.folder_name);
    }
    return {CopyOutcome::Copied, {}, watched, posix::RegularFileFacts(copy)};
}

}  // namespace

CopyResult CopyNewFile(const std::string& source, const std::string& destination,
                       const KeepCopying& keep_copying, const ContentWatcher& watcher) {
    return posix::CopyNewFileUsing(posix::Temporary::Anonymous, source, destination, keep_copying,
                                   watcher);
}

namespace posix {

std::string WithCause(std::string reason, int error) {
    return reason + " (" + std::strerror(error) + ")";
}

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
    const DestinationParts to = SplitDestination(ResolveNativePath(destination));
    if (to.name.empty()) {
        return Failure(CopyOutcome::Failed, "the destination names no file");
    }
    RegularFile in;
    if (auto failure = OpenSource(ResolveNativePath(source), in)) {
        return *std::move(failure);
    }
    const struct stat& source_stat = in.info;
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
    if (auto failure = CopyContent(in.fd.get(), source_stat, part.fd(), *folder, keep_copying,
                                   watcher, to.folder_name)) {
        return *std::move(failure);
    }
    return Publish(part, source_stat, to, folder->publishing, static_cast<bool>(watcher));
}

}  // namespace posix
}  // namespace rv::platform
