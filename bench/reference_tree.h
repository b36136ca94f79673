// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/category_table.h"

// The tree the pass benchmarks measure on: 20,000 add-on files in 2,000 folders, and game
// folders that hold half of the add-on's files.
namespace rv::bench {

inline constexpr int kFiles = 20000;
inline constexpr int kFolders = 2000;

struct AddOnFile {
    std::string path;
    Category category;
    std::string name;
    std::size_t size;
    bool installed;  // already in the game folders
};

// Makes the add-on tree under `add` and every game folder with its category folders and the
// installed half; returns the add-on files the passes take, without the files they leave alone.
std::vector<AddOnFile> GenerateReferenceTree(const std::string& add,
                                             const std::vector<std::string>& games);

}  // namespace rv::bench
