// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/category_table.h"

namespace rv {

// The game folder's sub-folders and the names in them, as Wine sees them: without regard to
// case. Each sub-folder is found and listed once, on first use, and the listing is kept for the
// length of one pass, so a pass costs one listing per sub-folder however many files it checks.
class GameFolderNames {
public:
    explicit GameFolderNames(std::string game_folder) : game_folder_(std::move(game_folder)) {}

    // The path a file of the category gets: the sub-folder as it is spelled on disk (a "maps"
    // folder takes the maps), then the name. For a drive-letter game folder it is the path the
    // system opens, found once per sub-folder.
    std::string TargetPath(Category category, std::string_view name);
    // Whether the sub-folder holds the name, or one that differs from it only in case.
    bool Holds(Category category, std::string_view name);
    // Notes a name the pass has put into the sub-folder.
    void Add(Category category, std::string_view name);

private:
    struct SubFolder {
        std::string path;  // ends with the separator
        std::unordered_set<std::string> folded_names;
    };
    SubFolder& Open(Category category);

    std::string game_folder_;
    std::array<std::optional<SubFolder>, kCategoryCount> sub_folders_;
};

}  // namespace rv
