// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace rv {

// A game folder as it is, however it was named: through a link, a drive letter of a Wine prefix
// or its own path. Receipts of one game folder are known by it, never by the text typed.
struct GameIdentity {
    std::string path;  // the real path: every link and drive letter resolved
    std::uint64_t device = 0;
    std::uint64_t node = 0;  // with the device: 0 and 0 when the folder could not be looked at

    bool Known() const { return device != 0 || node != 0; }
};

// The identity of the folder now; of a folder that cannot be resolved (unplugged, gone), only the
// path as given.
GameIdentity IdentityOf(const std::string& folder);

// The same folder: by device and node when both are known, else by real path.
bool SameGame(const GameIdentity& a, const GameIdentity& b);

}  // namespace rv
