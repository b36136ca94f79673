// SPDX-License-Identifier: MIT
#include "core/game_folder_names.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "text/case_fold.h"

namespace rv {

std::string GameFolderNames::TargetPath(Category category, std::string_view name) {
    const SubFolder& sub_folder = Open(category);
    const auto found = sub_folder.names.find(text::FoldUtf8(name));
    if (found == sub_folder.names.end()) {
        return sub_folder.path + std::string(name);
    }
    // Of names that differ only in case, the one spelled exactly is the one Wine opens.
    const Spelling& spelling = found->second;
    if (spelling.several && platform::PathExists(sub_folder.path + std::string(name))) {
        return sub_folder.path + std::string(name);
    }
    return sub_folder.path + spelling.first;
}

bool GameFolderNames::Holds(Category category, std::string_view name) {
    return Open(category).names.contains(text::FoldUtf8(name));
}

void GameFolderNames::Add(Category category, std::string_view name) {
    Note(Open(category), name);
}

void GameFolderNames::Note(SubFolder& sub_folder, std::string_view name) {
    auto [place, added] = sub_folder.names.try_emplace(text::FoldUtf8(name), std::string(name));
    Spelling& spelling = place->second;
    if (!added && spelling.first != name) {
        spelling.several = true;
        spelling.first = std::min(spelling.first, std::string(name));
    }
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
            text::CaseBlindChoice choice(wanted);
            for (const platform::FolderEntry& entry : listing->entries) {
                if (entry.is_folder) {
                    choice.Offer(entry.name);
                }
            }
            sub_folder = choice.Chosen().value_or(wanted);
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
            Note(*slot, entry.name);
        }
    }
    return *slot;
}

}  // namespace rv
