// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/window_operations.h"

namespace rv {

// One file below the add-on folder, as the walk met it.
struct WalkedFile {
    std::string path;         // the folder it was found in, a separator, and its name
    std::size_t name_at = 0;  // where the name starts in the path
    bool outside = false;     // a link whose real location lies outside the add-on folder

    std::string_view Name() const { return std::string_view(path).substr(name_at); }
};

// A folder below the add-on folder that could not be listed, and why.
struct WalkProblem {
    std::string path;
    std::string reason;
};

// Everything one walk of the add-on folder found, in walk order.
struct AddOnWalk {
    std::vector<WalkedFile> files;
    std::vector<WalkProblem> problems;
};

inline constexpr std::string_view kLeadsOutside =
    "the add-on file is a link that leads outside the add-on folder";

// True when the upper-cased name ends with the pattern. Only the letters a-z are upper-cased;
// other bytes, those of multi-byte characters included, are compared as they are.
bool NameMatches(std::string_view name, std::string_view pattern);

// Walks the folder and everything below it, depth first and in listing order, and records every
// file. Yields to the window on entry to every folder. A linked folder is walked like a folder
// when it leads to a place inside the folder, and each real folder at most once, however many
// paths lead to it; a link that leads outside is not followed, and a linked file outside is
// recorded as such. A sub-folder that cannot be listed is recorded as a problem; the folder
// itself missing is no problem, just nothing found. Returns false when the window reported that
// it is closing; the walk has stopped then.
bool WalkAddOnFolder(std::string folder, AddOnWalk& walk, WindowOperations& window);

}  // namespace rv
