// SPDX-License-Identifier: MIT
#include "platform/data_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/file_system_temporary_linux.h"
#include "platform/owned_posix.h"

namespace rv::platform {
namespace {

std::string Reason(int error) {
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) {
        return "the disk is full";
    }
    if (error == EEXIST) {
        return "already exists";
    }
    return std::strerror(error);
}

// Creates the folder and its missing parents; 0 or the error.
int MakeFolders(const std::string& folder) {
    for (std::size_t cut = folder.find('/', 1);; cut = folder.find('/', cut + 1)) {
        const std::string part = folder.substr(0, cut);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
        if (cut == std::string::npos) {
            return 0;
        }
    }
}

// Writes everything and flushes it to the disk; 0 or the error.
int WriteAndFlush(int fd, const ContentPieces& content) {
    for (std::string_view piece = content(); !piece.empty(); piece = content()) {
        while (!piece.empty()) {
            const ssize_t done = ::write(fd, piece.data(), piece.size());
            if (done < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return errno;
            }
            piece.remove_prefix(static_cast<std::size_t>(done));
        }
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

std::string UserDataFolder() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home != nullptr && data_home[0] == '/') {
        return std::string(data_home) + "/rv-addon-installer";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share/rv-addon-installer";
    }
    return {};
}

std::string WriteFileSafely(const std::string& folder, const std::string& name,
                            const ContentPieces& content, Existing existing) {
    if (const int error = MakeFolders(folder)) {
        return "cannot create " + folder + ": " + Reason(error);
    }
    const Descriptor folder_file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder_file.valid()) {
        return "cannot write in " + folder + ": " + Reason(errno);
    }
    // Named, so that it can replace a file; one a crash leaves behind is a stale temporary.
    posix::TemporaryFile part(folder_file.get(), 0600, posix::Temporary::Named);
    if (part.fd() < 0) {
        return "cannot write in " + folder + ": " + Reason(part.error());
    }
    int error = WriteAndFlush(part.fd(), content);
    if (error == 0) {
        error = part.Close();
    }
    if (error == 0) {
        posix::Publishing way = posix::Publishing::NoReplaceRename;
        error = existing == Existing::Keep ? part.MoveIntoPlace(name, way) : part.ReplaceInto(name);
    }
    if (error != 0) {
        return "cannot write " + name + ": " + Reason(error);
    }
    // The name lasts only once the folder is flushed too; a file system without that flush
    // keeps its names as it writes them.
    if (::fsync(folder_file.get()) != 0 && errno != EINVAL && errno != ENOSYS) {
        return "cannot write " + name + ": " + Reason(errno);
    }
    return {};
}

}  // namespace rv::platform
