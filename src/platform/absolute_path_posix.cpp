// SPDX-License-Identifier: MIT
#include <filesystem>
#include <string_view>

#include "platform/absolute_path.h"

namespace rv::platform {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// C:, C:\... or C:/...: a Windows path; "a:b" stays a Linux name.
bool IsDriveLetterPath(std::string_view path) {
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path.size() >= 2 && path[1] == ':' &&
           (path.size() == 2 || IsSeparator(path[2]));
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back()) && path[path.size() - 2] != ':') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || IsDriveLetterPath(path)) {
        return WithoutTrailingSeparators(path);
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return WithoutTrailingSeparators(error ? path : absolute.lexically_normal().string());
}

}  // namespace rv::platform
