// SPDX-License-Identifier: MIT
#include "core/add_on_walk.h"

#include <cstdint>
#include <optional>
#include <set>
#include <utility>

#include "platform/file_system.h"
#include "text/text.h"

namespace rv {
namespace {

// One folder on the current path of the walk, with the entries not yet taken.
struct OpenFolder {
    std::string folder;  // ends with the separator
    platform::FolderListing listing;
    std::size_t next = 0;
};

class Walk {
public:
    Walk(AddOnWalk& found, WindowOperations& window) : found_(found), window_(window) {}

    bool Run(std::string folder) {
        if (!Enter(std::move(folder), true)) {
            return false;
        }
        while (!path_.empty()) {
            OpenFolder& current = path_.back();
            if (current.next == current.listing.entries.size()) {
                path_.pop_back();
                continue;
            }
            const platform::FolderEntry& entry = current.listing.entries[current.next++];
            std::string path = current.folder + entry.name;
            const bool outside = entry.is_link && LeadsOutside(path);
            if (entry.is_folder) {
                // Depth first: the sub-folder is finished before this folder's next entry.
                if (!outside && !Enter(std::move(path), false)) {
                    return false;
                }
            } else {
                found_.files.push_back({std::move(path), current.folder.size(), outside});
            }
        }
        return true;
    }

private:
    // Yields, then opens the folder and puts it on the path. A folder already walked (reached
    // again through a link) contributes nothing more.
    bool Enter(std::string folder, bool root) {
        if (!window_.ProcessPendingMessages()) {
            return false;
        }
        if (folder.empty() || folder.back() != platform::kPathSeparator) {
            folder += platform::kPathSeparator;
        }
        std::string why;
        std::optional<platform::FolderListing> listing = platform::ListFolder(folder, &why);
        if (!listing) {
            if (!root) {
                found_.problems.push_back({std::move(folder), std::move(why)});
            }
            return true;
        }
        if (root) {
            root_ = platform::RealPath(folder).value_or(folder);
        }
        if (!walked_.insert({listing->id.device, listing->id.node}).second) {
            return true;
        }
        path_.push_back({std::move(folder), std::move(*listing), 0});
        return true;
    }

    // Whether the link's real location is neither the add-on folder nor below it. A link that
    // leads nowhere has no location; copying it fails on its own.
    bool LeadsOutside(const std::string& link) const {
        const std::optional<std::string> real = platform::RealPath(link);
        if (!real) {
            return false;
        }
        return *real != root_ &&
               !(real->starts_with(root_) && (root_.ends_with(platform::kPathSeparator) ||
                                              (*real)[root_.size()] == platform::kPathSeparator));
    }

    AddOnWalk& found_;
    WindowOperations& window_;
    std::string root_;  // the add-on folder's real location
    std::vector<OpenFolder> path_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> walked_;  // ids of the folders walked
};

}  // namespace

bool NameMatches(std::string_view name, std::string_view pattern) {
    if (name.size() < pattern.size()) {
        return false;
    }
    const std::size_t start = name.size() - pattern.size();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (text::UpperAscii(name[start + i]) != pattern[i]) {
            return false;
        }
    }
    return true;
}

bool WalkAddOnFolder(std::string folder, AddOnWalk& walk, WindowOperations& window) {
    return Walk(walk, window).Run(std::move(folder));
}

}  // namespace rv
