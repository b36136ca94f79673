// SPDX-License-Identifier: MIT
#include "reference_tree.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace rv::bench {

namespace {

namespace fs = std::filesystem;

constexpr int kOtherEndings = 2;  // every 15th file of 15 is .txt or .bmp

void WriteFile(const std::string& path, const std::string& content, std::size_t size) {
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(size));
}

}  // namespace

// Folders two levels deep (40 groups of 50), ten files in each, endings in turn.
std::vector<AddOnFile> GenerateReferenceTree(const std::string& add,
                                             const std::vector<std::string>& games) {
    std::mt19937 random(2004);
    std::uniform_int_distribution<std::size_t> size_of(4 << 10, 44 << 10);
    const std::string content(44 << 10, 'r');
    std::vector<AddOnFile> files;
    for (const std::string& game : games) {
        for (const CategoryInfo& info : kCategories) {
            fs::create_directories(game + "/" + std::string(info.sub_folder));
        }
    }
    for (int f = 0; f < kFiles; ++f) {
        const int folder = f % kFolders;
        const std::string dir =
            add + "/Group" + std::to_string(folder / 50) + "/Pack" + std::to_string(folder % 50);
        if (f < kFolders) {
            fs::create_directories(dir);
        }
        const int ending = f % (static_cast<int>(kRowCount) + kOtherEndings);
        char name[32];
        std::snprintf(name, sizeof name, "file%05d", f);
        std::string file = name;
        if (ending >= static_cast<int>(kRowCount)) {
            file += ending == static_cast<int>(kRowCount) ? ".txt" : ".bmp";
            WriteFile(dir + "/" + file, content, size_of(random));
            continue;
        }
        const CategoryRow& row = kReadOrder[static_cast<std::size_t>(ending)];
        file += std::string(row.pattern.substr(1));
        const AddOnFile added{dir + "/" + file, row.category, file, size_of(random),
                              (f / 15) % 2 == 0};
        WriteFile(added.path, content, added.size);
        if (added.installed) {
            for (const std::string& game : games) {
                WriteFile(game + "/" + std::string(Info(row.category).sub_folder) + "/" + file,
                          content, added.size);
            }
        }
        files.push_back(added);
    }
    return files;
}

}  // namespace rv::bench
