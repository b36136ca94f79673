// SPDX-License-Identifier: MIT
#include "core/game_folder_names.h"

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "text/case_fold.h"

namespace rv {

std::string GameFolderNames::TargetPath(Category category, std::string_view name) {
    return Open(category).path + std::string(name);
}

bool GameFolderNames::Holds(Category category, std::string_view name) {
    return Open(category).folded_names.contains(text::FoldUtf8(name));
}

void GameFolderNames::Add(Category category, std::string_view name) {
    Open(category).folded_names.insert(text::FoldUtf8(name));
}

GameFolderNames::SubFolder& GameFolderNames::Open(Category category) {
    std::optional<SubFolder>& slot = sub_folders_[static_cast<std::size_t>(category)];
    if (slot) {
        return *slot;
    }
    // The game folder as the system names it, so that no later lookup repeats the drive-letter
    // search of every part.
    std::string game = platform::ResolveNativePath(game_folder_);
    const std::string wanted(Info(category).sub_folder);
    std::string sub_folder = wanted;
    if (!platform::PathExists(game + platform::kPathSeparator + wanted)) {
        if (const auto listing = platform::ListFolder(game)) {
            const std::string folded = text::FoldUtf8(wanted);
            for (const platform::FolderEntry& entry : listing->entries) {
                if (entry.is_folder && text::FoldUtf8(entry.name) == folded) {
                    sub_folder = entry.name;
                    break;
                }
            }
        }
    }
    slot.emplace();
    slot->path = game;
    if (slot->path.empty() || slot->path.back() != platform::kPathSeparator) {
        slot->path += platform::kPathSeparator;
    }
    slot->path += sub_folder + platform::kPathSeparator;
    if (const auto listing = platform::ListFolder(slot->path)) {
        for (const platform::FolderEntry& entry : listing->entries) {
            slot->folded_names.insert(text::FoldUtf8(entry.name));
        }
    }
    return *slot;
}

}  // namespace rv
