// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/category_table.h"

namespace rv {

// The game folder's sub-folders and the names in them, as Wine sees them: without regard to
// case. Each sub-folder is found and listed once, on first use, and the listing is kept for the
// length of one pass, so a pass costs one listing per sub-folder however many files it checks.
class GameFolderNames {
public:
    explicit GameFolderNames(std::string game_folder) : game_folder_(std::move(game_folder)) {}

    // The path a file of the category has or gets: the sub-folder as it is spelled on disk (a
    // "maps" folder takes the maps), then the name, also as spelled on disk when the sub-folder
    // holds it in another case, so that a file already there is looked at where it is. For a
    // drive-letter game folder it is the path the system opens, found once per sub-folder.
    std::string TargetPath(Category category, std::string_view name);
    // Whether the sub-folder holds the name, or one that differs from it only in case.
    bool Holds(Category category, std::string_view name);
    // Notes a name the pass has put into the sub-folder.
    void Add(Category category, std::string_view name);

private:
    // The entries whose names fold alike.
    struct Spelling {
        std::string first;  // the first in byte order
        bool several = false;
    };
    struct SubFolder {
        std::string path;                                 // ends with the separator
        std::unordered_map<std::string, Spelling> names;  // by folded name
    };
    SubFolder& Open(Category category);
    static void Note(SubFolder& sub_folder, std::string_view name);

    std::string game_folder_;
    std::array<std::optional<SubFolder>, kCategoryCount> sub_folders_;
};

}  // namespace rv
