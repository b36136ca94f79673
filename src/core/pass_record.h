// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/category_table.h"
#include "platform/file_facts.h"
#include "platform/file_system.h"

namespace rv {

// What became of one add-on file in a pass.
enum class FileState {
    ReadyToWrite,  // read pass: nothing at the target yet
    AlreadyThere,  // something was at the target; it was left alone
    Written,
    Failed,  // the copy failed; the reason says why
};

// Each state's name as the user reads it, by the state's number: one table for the window's file
// list and the command line.
inline constexpr std::array<std::string_view, 4> kFileStateNames = {
    "ready to write", "already there", "written", "failed"};
inline constexpr std::string_view StateName(FileState state) {
    return kFileStateNames[static_cast<std::size_t>(state)];
}

// Whether a file found already there is the add-on's own file or another version of it; Unknown
// until it is compared.
enum class Sameness { Unknown, Identical, Different };

struct PassFile {
    std::string addon_path;
    Category category = Category::Animations;
    std::string target_path;
    FileState state = FileState::ReadyToWrite;
    std::string reason;  // why the copy failed
    // Noted by a write pass that keeps a receipt, as the pass meets the file: of a written file,
    // what it is right after writing. Of a file already there, whether it is the add-on's own:
    // compared beside such a write pass, and after a read pass.
    platform::FileFacts written;
    std::string hash;
    Sameness sameness = Sameness::Unknown;
};

// Every add-on file of the last read or write pass, in the order the pass handled them.
struct PassRecord {
    bool write = false;
    std::string game_folder;
    std::string addon_folder;
    std::vector<PassFile> files;

    void Start(bool write_pass, const std::string& game, const std::string& addon);
    PassFile& Add(std::string addon_path, Category category, std::string target_path,
                  FileState state, std::string reason = {});
};

// The status tool tip's line for the files found already there in another version, which a pass
// never replaces (after a read: which a write would not replace); empty when there are none.
// Starts on a line of its own unless `first`.
std::string NotReplacedLine(const PassRecord& pass, bool first);

// Compares sizes first and the content only when they are equal. A target that is not a regular
// file, or either file unreadable, counts as different.
Sameness CompareWithTarget(const PassFile& file);

// The XXH3 64-bit hash of the file's content as 16 hex digits; empty when it cannot be read.
std::string ContentHash(const std::string& path);

// Copies as platform::CopyNewFile does and, when the file was copied, sets `hash` to the
// ContentHash of what was written: taken as the copy writes it, else read back from the copy.
platform::CopyResult CopyAndHash(const std::string& source, const std::string& target,
                                 const platform::KeepCopying& keep_copying, std::string& hash);

}  // namespace rv
