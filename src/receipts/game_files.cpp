// SPDX-License-Identifier: MIT
#include "receipts/game_files.h"

#include <algorithm>
#include <cstdio>

#include "core/category_table.h"
#include "platform/file_system.h"
#include "text/case_fold.h"

namespace rv {

std::optional<std::vector<std::string>> PartsBelowGame(const ReceiptFile& file) {
    if (file.outside) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end = 0; end <= file.target.size(); ++end) {
        if (end == file.target.size() || file.target[end] == '/') {
            parts.push_back(file.target.substr(start, end - start));
            start = end + 1;
        }
    }
    // Only what a pass writes: a file right in one of the game's sub-folders.
    static const std::vector<std::string> sub_folders = [] {
        std::vector<std::string> folded;
        for (const CategoryInfo& info : kCategories) {
            folded.push_back(text::FoldUtf8(info.sub_folder));
        }
        return folded;
    }();
    const bool known_folder =
        parts.size() == 2 && std::find(sub_folders.begin(), sub_folders.end(),
                                       text::FoldUtf8(parts[0])) != sub_folders.end();
    const std::string& name = parts.back();
    const bool plain_name =
        !name.empty() && name != "." && name != ".." &&
        name.find(platform::kPathSeparator) == std::string::npos &&
        (platform::kPathSeparator == '/' || name.find(':') == std::string::npos);
    if (!known_folder || !plain_name) {
        return std::nullopt;
    }
    return parts;
}

Looked GameFiles::Check(const ReceiptFile& file, Scrutiny scrutiny) const {
    const auto parts = PartsBelowGame(file);
    if (!parts) {
        return {Look::Outside, {}};
    }
    if (!problem_.empty()) {
        return {Look::CannotCheck, problem_};
    }
    return LookBelow((*parts)[0], (*parts)[1], file, scrutiny);
}

std::vector<std::unique_ptr<GameFiles>> GameFilesFor(const GameIdentity& game,
                                                     std::size_t threads) {
    std::vector<std::unique_ptr<GameFiles>> files;
    for (std::size_t thread = 0; thread < threads; ++thread) {
        files.push_back(std::make_unique<GameFiles>(game));
    }
    return files;
}

std::string HashHex(std::uint64_t hash) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

}  // namespace rv
