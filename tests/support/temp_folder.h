// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace rv::test {

// The path of a text as the platform layer takes it: UTF-8 on Windows, where the standard library
// would read a narrow text in the ANSI code page; the bytes as they are on Linux.
inline std::filesystem::path NativePath(const std::string& text) {
    return std::u8string(text.begin(), text.end());
}
inline std::string TextOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A fresh folder under the system's temporary folder, removed with all it holds at the end.
class TempFolder {
public:
    TempFolder() {
        std::mt19937_64 random(std::random_device{}());
        do {
            root_ =
                std::filesystem::temp_directory_path() / ("rv-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(root_));
    }
    // Virtual: a test registry holds its Wine prefix (a FakePrefix) as a TempFolder.
    virtual ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // "a/b" below the folder, joined with the platform's separator as the passes join paths.
    std::string Path(std::string relative = {}) const {
        std::replace(relative.begin(), relative.end(), '/', platform::kPathSeparator);
        return TextOf(root_) + (relative.empty() ? "" : platform::kPathSeparator + relative);
    }
    // Creates the file, and the folders leading to it, with the given content.
    void AddFile(const std::string& relative, const std::string& content = "data") const {
        const std::filesystem::path path = NativePath(Path(relative));
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void AddFiles(const std::vector<std::string>& relatives) const {
        for (const std::string& relative : relatives) {
            AddFile(relative);
        }
    }
    void AddFolder(const std::string& relative) const {
        std::filesystem::create_directories(NativePath(Path(relative)));
    }

private:
    std::filesystem::path root_;
};

// The content of a file; empty for anything else.
inline std::string ReadWhole(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(NativePath(path), error)) {
        return {};
    }
    std::ifstream in(NativePath(path), std::ios::binary);
    std::string content;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return content;
}

// True for anything at the path, a dangling link included.
inline bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(NativePath(path), error));
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder))) {
        names.push_back(TextOf(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace rv::test
