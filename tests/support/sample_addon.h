// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "core/category_table.h"
#include "support/temp_folder.h"

namespace rv::test {

// A game folder with its seven sub-folders.
inline void MakeGameFolder(const std::string& folder) {
    for (const CategoryInfo& info : kCategories) {
        std::filesystem::create_directories(NativePath(folder) / info.sub_folder);
    }
}

// A game folder with its seven sub-folders, and an add-on of one file for each of the thirteen
// patterns, "Harbour" with the pattern's ending, every other one two folders deeper, and a
// readme that no pattern takes. The add-on's Maps and .int files are installed already.
// Counters after a read, in category order: read 1111171, exist 0100010, ready 1011161.
inline void MakeSampleAddOn(const std::string& addon_folder, const std::string& game_folder) {
    const std::filesystem::path addon = NativePath(addon_folder), game = NativePath(game_folder);
    const auto write = [](const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    };
    MakeGameFolder(game_folder);
    bool deep = false;
    for (const CategoryRow& row : kReadOrder) {
        const std::string name = "Harbour" + std::string(row.pattern.substr(1));
        write(addon / (deep ? "Extra/Deep" : "") / name, "add-on " + name);
        deep = !deep;
    }
    write(addon / "Readme.txt", "read me");
    write(game / "Maps/Harbour.rv2", "installed");
    write(game / "System/Harbour.int", "installed");
}

}  // namespace rv::test
