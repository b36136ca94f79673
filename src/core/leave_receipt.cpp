// SPDX-License-Identifier: MIT
#include "core/game_folder_names.h"
#include "core/installer.h"
#include "core/pass_support.h"
#include "platform/end_signals.h"

namespace rv {

bool RV2003_2004_Add_On_Installer::BeginJournal() {
    if (journal_ == nullptr) {
        return true;
    }
    // Another copy of the program may be writing to or removing from the same game folder: the
    // window keeps answering meanwhile and says what it waits for; closing it gives up.
    const std::string problem =
        journal_->Begin(last_pass_, edition_, [this](const std::string& what) {
            window_.SetCaption(kStatusLabel, what);
            return YieldWhenDue() && !platform::EndRequested();
        });
    if (!problem.empty()) {
        window_.SetCaption(kStatusLabel, "Nothing was written: " + problem);
    }
    return problem.empty();
}

std::string RV2003_2004_Add_On_Installer::NoteIntent(Category category) {
    if (journal_ == nullptr) {
        return {};
    }
    PassFile file;
    file.addon_path = SourcePath;
    file.category = category;
    file.target_path = TargetPath;
    return journal_->Intend(file);
}

void RV2003_2004_Add_On_Installer::NoteIntentsAhead(const CategoryRow& row, const AddOnWalk& walk,
                                                    GameFolderNames& game) {
    if (journal_ == nullptr) {
        return;
    }
    std::vector<PassFile> ahead;
    EachRowFile(row, walk, [&](const RowFile& file) {
        if (!file.walked.outside && !game.Holds(file.category, file.name)) {
            PassFile& named = ahead.emplace_back();
            named.addon_path = file.walked.path;
            named.category = file.category;
            named.target_path = game.TargetPath(file.category, file.name);
        }
        return YieldWhenDue();
    });
    journal_->IntendAhead(ahead, [this] { YieldWhenDue(); });
}

void RV2003_2004_Add_On_Installer::LeaveReceipt(std::string& failures) {
    receipt_name_.clear();
    receipt_problem_.clear();
    if (journal_ == nullptr) {
        return;
    }
    // The files are written: their receipt is made and saved even when the window asks to
    // close meanwhile, which it may do while a large add-on's receipt is made.
    receipt_problem_ =
        journal_->Record(last_pass_, edition_, receipt_name_, [this] { YieldWhenDue(); });
    if (!receipt_problem_.empty()) {
        receipt_name_.clear();
        receipt_problem_ =
            "No receipt was saved, so this add-on cannot be removed by this program: " +
            receipt_problem_;
        failures += (failures.empty() ? "" : "\n") + receipt_problem_;
    }
}

}  // namespace rv
