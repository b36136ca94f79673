// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/native_path.h"
#include "platform/owned_posix.h"
#include "platform/wine_prefix_linux.h"
#include "text/case_fold.h"

// A drive-letter path from the registry of a Wine prefix is resolved as Wine resolves it: the
// drive is the prefix's dosdevices/x: link, and each part of the path is found without regard to
// case when no entry of exactly that name exists, since the game itself sees its folders so.
namespace rv::platform {

namespace {

bool IsDriveLetterPath(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

// The exact name when it exists; else the first in byte order of the names that fold alike, so
// the choice does not depend on the listing's order.
std::optional<std::string> EntryIgnoringCase(const std::string& folder, std::string_view wanted) {
    if (Exists(folder + "/" + std::string(wanted))) {
        return std::string(wanted);
    }
    const FolderStream dir(::opendir(folder.c_str()));
    if (!dir.valid()) {
        return std::nullopt;
    }
    text::CaseBlindChoice choice(wanted);
    while (const dirent* entry = ::readdir(dir.get())) {
        choice.Offer(entry->d_name);
    }
    return choice.Chosen();
}

namespace {

// The parts of the path below the drive's root, with "." and ".." taken away as Windows takes
// them before the path reaches a file system: ".." drops the part before it and stops at the
// root, so no path leads off its drive.
std::vector<std::string_view> NormalisedParts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::string ResolveNativePath(const std::string& path) {
    if (!IsDriveLetterPath(path)) {
        return path;
    }
    const std::optional<std::string> prefix = WinePrefixFolder();
    if (!prefix) {
        return path;
    }
    std::string resolved = *prefix + "/dosdevices/" + text::FoldAsciiChar(path[0]) + ":";
    // Once a part matches nothing, the rest cannot exist either and is kept as written: a copy
    // destination so keeps the add-on's own spelling of its file name.
    bool searching = true;
    for (const std::string_view part : NormalisedParts(std::string_view(path).substr(2))) {
        const auto match = searching ? EntryIgnoringCase(resolved, part) : std::nullopt;
        searching = match.has_value();
        resolved += "/" + (match ? *match : std::string(part));
    }
    if (path.size() > 2 && IsSeparator(path.back())) {
        resolved += '/';
    }
    return resolved;
}

}  // namespace rv::platform
