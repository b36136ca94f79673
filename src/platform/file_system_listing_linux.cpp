// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "platform/file_system_linux.h"
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

}  // namespace

std::optional<FolderListing> ListFolder(const std::string& folder, std::string* why) {
    const auto fail = [why](int error) -> std::optional<FolderListing> {
        if (why != nullptr) {
            *why = error == ENAMETOOLONG ? "the path is too long for the system"
                                         : posix::WithCause("the folder cannot be listed", error);
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

}  // namespace rv::platform
