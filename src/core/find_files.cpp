#include "core/find_files.h"

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
    Walk(std::string_view pattern, FoundList& list, WindowOperations& window)
        : pattern_(pattern), list_(list), window_(window) {}

    bool Run(std::string folder) {
        if (list_.empty()) {
            list_.emplace_back();
        }
        if (!Enter(std::move(folder))) {
            return false;
        }
        while (!path_.empty()) {
            OpenFolder& current = path_.back();
            if (current.next == current.listing.entries.size()) {
                path_.pop_back();
                continue;
            }
            const platform::FolderEntry& entry = current.listing.entries[current.next++];
            if (entry.is_folder) {
                // Depth first: the sub-folder is finished before this folder's next entry.
                if (!Enter(current.folder + entry.name)) {
                    return false;
                }
            } else if (NameMatches(entry.name, pattern_)) {
                std::string& slot = list_.back();
                slot.reserve(kEntryIndent.size() + current.folder.size() + entry.name.size());
                slot = kEntryIndent;
                slot += current.folder;
                slot += entry.name;
                list_.emplace_back();
            }
        }
        return true;
    }

private:
    // Yields, then opens the folder and puts it on the path. A folder that cannot be listed, or
    // that is already on the path (a link back to an ancestor), contributes nothing.
    bool Enter(std::string folder) {
        if (!window_.ProcessPendingMessages()) {
            return false;
        }
        if (folder.empty() || folder.back() != platform::kPathSeparator) {
            folder += platform::kPathSeparator;
        }
        std::optional<platform::FolderListing> listing = platform::ListFolder(folder);
        if (!listing) {
            return true;
        }
        for (const OpenFolder& ancestor : path_) {
            if (ancestor.listing.id == listing->id) {
                return true;
            }
        }
        path_.push_back({std::move(folder), std::move(*listing), 0});
        return true;
    }

    std::string_view pattern_;
    FoundList& list_;
    WindowOperations& window_;
    std::vector<OpenFolder> path_;
};

}  // namespace

bool NameMatches(std::string_view name, std::string_view pattern) {
    if (pattern.empty() || pattern == "*") {
        return true;
    }
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

bool FindFiles(std::string folder, std::string_view pattern, FoundList& list,
               WindowOperations& window) {
    return Walk(pattern, list, window).Run(std::move(folder));
}

}  // namespace rv
