// SPDX-License-Identifier: MIT
#include "core/pass_record.h"

#include <cstdio>
#include <utility>

#include "platform/file_facts.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace rv {

void PassRecord::Start(bool write_pass, const std::string& game, const std::string& addon) {
    write = write_pass;
    game_folder = game;
    addon_folder = addon;
    files.clear();
}

void PassRecord::Add(std::string addon_path, Category category, std::string target_path,
                     FileState state, std::string reason) {
    files.push_back(
        {std::move(addon_path), category, std::move(target_path), state, std::move(reason)});
}

Sameness CompareWithTarget(const PassFile& file) {
    const platform::FileFacts addon = platform::LookAt(file.addon_path);
    const platform::FileFacts target = platform::LookAt(file.target_path);
    if (addon.kind != platform::EntryKind::RegularFile ||
        target.kind != platform::EntryKind::RegularFile || addon.size != target.size) {
        return Sameness::Different;
    }
    const std::string hash = ContentHash(file.addon_path);
    return !hash.empty() && hash == ContentHash(file.target_path) ? Sameness::Identical
                                                                  : Sameness::Different;
}

std::string ContentHash(const std::string& path) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    const bool read = platform::ReadPieces(path, [&state](std::span<const char> piece) {
        XXH3_64bits_update(&state, piece.data(), piece.size());
    });
    if (!read) {
        return {};
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(XXH3_64bits_digest(&state)));
    return hex;
}

}  // namespace rv
