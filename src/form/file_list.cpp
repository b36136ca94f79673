// SPDX-License-Identifier: MIT
#include "form/file_list.h"

#include <algorithm>

#include "text/text.h"

namespace rv {
namespace {

// The filter's choices; a file's state is the index of its text here.
constexpr std::array<std::string_view, 6> kFilterChoices = {"All states",
                                                            StateName(FileState::ReadyToWrite),
                                                            "already there and identical",
                                                            "already there but different",
                                                            StateName(FileState::Written),
                                                            StateName(FileState::Failed)};
enum Choice : std::size_t { kAll, kReady, kIdentical, kDifferent, kWritten, kFailed };

std::size_t StateOf(const PassFile& file) {
    switch (file.state) {
        case FileState::ReadyToWrite:
            return kReady;
        case FileState::AlreadyThere:
            return (file.sameness == Sameness::Unknown ? CompareWithTarget(file) : file.sameness) ==
                           Sameness::Identical
                       ? kIdentical
                       : kDifferent;
        case FileState::Written:
            return kWritten;
        case FileState::Failed:
            break;
    }
    return kFailed;
}

// The path below the folder the pass joined it to; the whole path when it is not below it.
std::string Below(const std::string& path, const std::string& folder) {
    const bool below = !folder.empty() && path.size() > folder.size() + 1 &&
                       path.starts_with(folder) &&
                       (path[folder.size()] == '/' || path[folder.size()] == '\\');
    return text::ShownName(below ? std::string_view(path).substr(folder.size() + 1) : path);
}

// The sub-folder and the name: a target is always the game folder's sub-folder and a name, and
// the game folder, which the heading names, may be spelled another way in it (as a drive letter).
std::string InGameFolder(const std::string& target) {
    const std::size_t name = target.find_last_of("/\\");
    const std::size_t sub_folder =
        name == 0 || name == std::string::npos ? name : target.find_last_of("/\\", name - 1);
    return text::ShownName(sub_folder == std::string::npos ? target
                                                           : target.substr(sub_folder + 1));
}

}  // namespace

FileList::FileList(const PassRecord& pass) {
    for (const PassFile& file : pass.files) {
        const std::size_t state = StateOf(file);
        std::string state_text(kFilterChoices[state]);
        if (state == kFailed) {
            state_text += ": " + text::ShownName(file.reason);
        }
        entries_.push_back(
            {{Below(file.addon_path, pass.addon_folder),
              std::string(kCategories[static_cast<std::size_t>(file.category)].sub_folder),
              InGameFolder(file.target_path), std::move(state_text)},
             state});
    }
    heading_ = pass.addon_folder.empty() ? "No Read or Write yet."
                                         : std::string(pass.write ? "Write" : "Read") + " of " +
                                               text::ShownName(pass.addon_folder) + " into " +
                                               text::ShownName(pass.game_folder) + ": " +
                                               std::to_string(entries_.size()) + " File(s)";
    Show();
}

std::span<const std::string_view> FileList::FilterChoices() {
    return kFilterChoices;
}

void FileList::SetFilter(std::size_t choice) {
    filter_ = choice < kFilterChoices.size() ? choice : kAll;
    Show();
}

void FileList::SortBy(std::size_t column, bool ascending) {
    if (column >= kColumns.size()) {
        return;
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [column, ascending](const Entry& a, const Entry& b) {
                         return ascending ? text::ListedBefore(a.cells[column], b.cells[column])
                                          : text::ListedBefore(b.cells[column], a.cells[column]);
                     });
    Show();
}

std::string FileList::CopyText(std::span<const std::size_t> rows) const {
    std::string copied;
    for (std::size_t row : rows) {
        if (row >= shown_.size()) {
            continue;
        }
        for (std::size_t cell = 0; cell < shown_[row].size(); ++cell) {
            copied += (cell == 0 ? "" : "\t") + shown_[row][cell];
        }
        copied += '\n';
    }
    return copied;
}

void FileList::Show() {
    shown_.clear();
    for (const Entry& entry : entries_) {
        if (filter_ == kAll || entry.state == filter_) {
            shown_.push_back(entry.cells);
        }
    }
}

}  // namespace rv
