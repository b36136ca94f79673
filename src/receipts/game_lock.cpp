// SPDX-License-Identifier: MIT
#include "receipts/game_lock.h"

#include <cstdio>
#include <functional>

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

}  // namespace rv
