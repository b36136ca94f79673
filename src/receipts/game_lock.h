// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "receipts/game_identity.h"

namespace rv {

// Asked every few milliseconds while a lock is waited for, with what is waited for in words;
// false gives up.
using Waiting = std::function<bool(const std::string& what)>;

// One game folder's lock, held by a write pass or a removal from start to end, across processes:
// a file in the data folder's "locks" folder, locked by the system (flock, LockFileEx), so that
// a process that ends for any reason lets go of it.
class GameLock {
public:
    // Takes the lock, waiting while another process holds it. Without a data folder there is
    // nothing to lock and the lock is held at once.
    GameLock(const std::string& data_folder, const GameIdentity& game, const Waiting& waiting);
    ~GameLock();
    GameLock(const GameLock&) = delete;
    GameLock& operator=(const GameLock&) = delete;

    // Empty when held; else why not ("another copy of the program ..." when given up).
    const std::string& Problem() const { return problem_; }

private:
    struct Held;
    std::unique_ptr<Held> held_;
    std::string problem_;
};

// What a lock is waited for, as the window and the command line say it.
inline constexpr std::string_view kWaitingForLock =
    "Waiting for another copy of the program that writes to or removes from this game folder...";

// The name of the game folder's lock file: the same for every spelling of the folder.
std::string LockName(const GameIdentity& game);

// What one try to take a lock came to.
enum class LockTry { Taken, Busy, Failed };
// Tries until the lock is taken, asking `waiting` between tries. Empty when taken, else why not.
std::string TakeWaiting(const std::function<LockTry()>& take, const Waiting& waiting,
                        const std::string& lock_path);

}  // namespace rv
