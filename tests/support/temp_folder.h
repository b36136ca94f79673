#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace rv::test {

// Joins path parts with the platform's separator, the way the passes build paths.
inline std::string Join(std::string path, const std::string& part) {
    if (!path.empty() && path.back() != platform::kPathSeparator) {
        path += platform::kPathSeparator;
    }
    return path + part;
}

// A fresh folder under the system's temporary folder, removed with all it holds at the end.
class TempFolder {
public:
    TempFolder() {
        std::mt19937_64 random(std::random_device{}() ^
                               static_cast<unsigned long long>(
                                   std::chrono::steady_clock::now().time_since_epoch().count()));
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("rv-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                root_ = candidate;
                return;
            }
        }
        throw std::runtime_error("no temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the passes hold paths: native separators, no trailing separator.
    std::string Path() const { return root_.string(); }
    // A path below the folder; parts are separated by "/" and joined with the native separator.
    std::string Path(const std::string& relative) const {
        std::string path = Path();
        std::string part;
        for (char c : relative + "/") {
            if (c == '/') {
                if (!part.empty()) {
                    path = Join(path, part);
                }
                part.clear();
            } else {
                part += c;
            }
        }
        return path;
    }

    // Creates the file, and the folders leading to it, with the given content.
    void AddFile(const std::string& relative, const std::string& content = "data") const {
        const std::filesystem::path path(Path(relative));
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void AddFolder(const std::string& relative) const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)));
    }

private:
    std::filesystem::path root_;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// True for anything at the path, a dangling link included.
inline bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace rv::test
