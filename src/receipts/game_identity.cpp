// SPDX-License-Identifier: MIT
#include "receipts/game_identity.h"

#include <cstdint>

#include "platform/file_system.h"

namespace rv {

GameIdentity IdentityOf(const std::string& folder) {
    const std::optional<std::string> real = platform::RealPath(folder);
    if (!real) {
        return {folder, 0, 0};
    }
    const std::optional<platform::FolderListing> listing = platform::ListFolder(*real);
    // Where the system could not tell the folder's number, the path is all there is.
    if (!listing || listing->id.device == UINT64_MAX) {
        return {*real, 0, 0};
    }
    return {*real, listing->id.device, listing->id.node};
}

bool SameGame(const GameIdentity& a, const GameIdentity& b) {
    if (a.Known() && b.Known()) {
        return a.device == b.device && a.node == b.node;
    }
    return !a.path.empty() && a.path == b.path;
}

}  // namespace rv
