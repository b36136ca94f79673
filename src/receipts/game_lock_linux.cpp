// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "receipts/game_lock.h"

namespace rv {

struct GameLock::Held {
    int fd = -1;
    ~Held() {
        if (fd >= 0) {
            ::close(fd);  // lets go of the lock
        }
    }
};

GameLock::GameLock(const std::string& data_folder, const GameIdentity& game, const Waiting& waiting)
    : held_(std::make_unique<Held>()) {
    if (data_folder.empty()) {
        return;
    }
    const std::string folder = data_folder + "/locks";
    std::error_code ignored;  // a folder that cannot be made shows as the lock file's failure
    std::filesystem::create_directories(folder, ignored);
    const std::string path = folder + "/" + LockName(game);
    held_->fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (held_->fd < 0) {
        problem_ = "cannot lock the game folder with " + path + ": " + std::strerror(errno);
        return;
    }
    problem_ = TakeWaiting(
        [this] {
            return ::flock(held_->fd, LOCK_EX | LOCK_NB) == 0 ? LockTry::Taken
                   : errno == EWOULDBLOCK || errno == EINTR   ? LockTry::Busy
                                                              : LockTry::Failed;
        },
        waiting, path);
}

GameLock::~GameLock() = default;

}  // namespace rv
