// SPDX-License-Identifier: MIT
#include "platform/file_system_folders_linux.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace rv::platform {
namespace posix {
namespace {

// The folders kept open while a DestinationFoldersKept lives on this thread.
struct KeptFolders {
    int scopes = 0;
    std::vector<DestinationFolder> folders;
};

KeptFolders& Kept() {
    thread_local KeptFolders kept;
    return kept;
}

}  // namespace

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

}  // namespace posix

DestinationFoldersKept::DestinationFoldersKept() {
    ++posix::Kept().scopes;
}

DestinationFoldersKept::~DestinationFoldersKept() {
    if (--posix::Kept().scopes == 0) {
        posix::Kept().folders.clear();
    }
}

}  // namespace rv::platform
