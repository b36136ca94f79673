// SPDX-License-Identifier: MIT
#include "core/pass_record.h"

#include <algorithm>

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

PassFile& PassRecord::Add(std::string addon_path, Category category, std::string target_path,
                          FileState state, std::string reason) {
    PassFile& file = files.emplace_back();
    file.addon_path = std::move(addon_path);
    file.category = category;
    file.target_path = std::move(target_path);
    file.state = state;
    file.reason = std::move(reason);
    return file;
}

std::string NotReplacedLine(const PassRecord& pass, bool first) {
    const auto count = std::count_if(pass.files.begin(), pass.files.end(), [](const PassFile& f) {
        return f.state == FileState::AlreadyThere && f.sameness == Sameness::Different;
    });
    if (count == 0) {
        return "";
    }
    std::string line = first ? "" : "\n";
    line += std::to_string(count);
    // A read writes nothing: it tells what a write would leave.
    line += pass.write ? " File(s) already there in another version were not replaced"
                       : " File(s) already there in another version would not be replaced";
    line += " (see Files of the last pass)";
    return line;
}

Sameness CompareWithTarget(const PassFile& file) {
    return platform::SameContent(file.addon_path, file.target_path) ? Sameness::Identical
                                                                    : Sameness::Different;
}

namespace {

// The content hash of the pieces handed to Take, in order.
class Hasher {
public:
    Hasher() { XXH3_64bits_reset(&state_); }
    void Take(std::span<const char> piece) {
        XXH3_64bits_update(&state_, piece.data(), piece.size());
    }
    std::string Hex() const {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx",
                      static_cast<unsigned long long>(XXH3_64bits_digest(&state_)));
        return hex;
    }

private:
    XXH3_state_t state_;
};

}  // namespace

std::string ContentHash(const std::string& path) {
    Hasher hasher;
    const bool read =
        platform::ReadPieces(path, [&hasher](std::span<const char> piece) { hasher.Take(piece); });
    return read ? hasher.Hex() : std::string();
}

platform::CopyResult CopyAndHash(const std::string& source, const std::string& target,
                                 const platform::KeepCopying& keep_copying, std::string& hash) {
    Hasher hasher;
    platform::CopyResult result =
        platform::CopyNewFile(source, target, keep_copying,
                              [&hasher](std::span<const char> piece) { hasher.Take(piece); });
    if (result.outcome == platform::CopyOutcome::Copied) {
        hash = result.watched ? hasher.Hex() : ContentHash(target);
    }
    return result;
}

}  // namespace rv
