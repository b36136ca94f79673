// SPDX-License-Identifier: MIT
#include <windows.h>

#include <filesystem>
#include <system_error>

#include "platform/wide_text_win.h"
#include "receipts/game_lock.h"

namespace rv {

struct GameLock::Held {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~Held() {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);  // lets go of the lock
        }
    }
};

GameLock::GameLock(const std::string& data_folder, const GameIdentity& game, const Waiting& waiting)
    : held_(std::make_unique<Held>()) {
    if (data_folder.empty()) {
        return;
    }
    const std::string folder = data_folder + "\\locks";
    const auto wide_data = platform::WideFromUtf8(data_folder);
    const auto wide_folder = platform::WideFromUtf8(folder);
    const auto wide = platform::WideFromUtf8(folder + "\\" + LockName(game));
    if (!wide_data || !wide_folder || !wide) {
        problem_ = "cannot lock the game folder: the data folder's name cannot be used";
        return;
    }
    std::error_code ignored;  // a folder that cannot be made shows as the lock file's failure
    std::filesystem::create_directories(std::filesystem::path(*wide_folder), ignored);
    held_->file =
        CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held_->file == INVALID_HANDLE_VALUE) {
        problem_ = "cannot lock the game folder with " + folder + "\\" + LockName(game);
        return;
    }
    problem_ = TakeWaiting(
        [this] {
            OVERLAPPED at{};
            return LockFileEx(held_->file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                              1, 0, &at)
                       ? LockTry::Taken
                   : GetLastError() == ERROR_LOCK_VIOLATION ? LockTry::Busy
                                                            : LockTry::Failed;
        },
        waiting, folder + "\\" + LockName(game));
}

GameLock::~GameLock() = default;

}  // namespace rv
