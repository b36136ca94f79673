// SPDX-License-Identifier: MIT
#include "receipts/game_lock.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace rv {

std::string LockName(const GameIdentity& game) {
    char name[64];
    if (game.Known()) {
        std::snprintf(name, sizeof name, "%llx-%llx.lock",
                      static_cast<unsigned long long>(game.device),
                      static_cast<unsigned long long>(game.node));
    } else {
        std::snprintf(name, sizeof name, "path-%zx.lock", std::hash<std::string>{}(game.path));
    }
    return name;
}

std::string TakeWaiting(const std::function<LockTry()>& take, const Waiting& waiting,
                        const std::string& lock_path) {
    for (;;) {
        switch (take()) {
            case LockTry::Taken:
                return {};
            case LockTry::Failed:
                return "cannot lock the game folder with " + lock_path;
            case LockTry::Busy:
                break;
        }
        if (!waiting || !waiting(std::string(kWaitingForLock))) {
            return "another copy of the program writes to or removes from this game folder";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace rv
