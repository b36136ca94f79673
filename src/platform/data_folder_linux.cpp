// SPDX-License-Identifier: MIT
#include "platform/data_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string_view>

#include "platform/owned_posix.h"

namespace rv::platform {
namespace {

std::string Reason(int error) {
    if (error == ENOSPC || error == EDQUOT || error == EFBIG) {
        return "the disk is full";
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
int WriteAndFlush(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t done = ::write(fd, content.data(), content.size());
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(done));
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
                            const std::string& content) {
    if (const int error = MakeFolders(folder)) {
        return "cannot create " + folder + ": " + Reason(error);
    }
    const std::string temporary =
        folder + "/." + name + "." + std::to_string(std::random_device{}()) + ".tmp";
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file.valid()) {
        return "cannot write in " + folder + ": " + Reason(errno);
    }
    int error = WriteAndFlush(file.get(), content);
    if (::close(file.Release()) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), (folder + "/" + name).c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return "cannot write " + name + ": " + Reason(error);
    }
    // The rename itself lasts only once the folder is flushed too.
    const Descriptor folder_file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_file.valid()) {
        ::fsync(folder_file.get());
    }
    return {};
}

}  // namespace rv::platform
