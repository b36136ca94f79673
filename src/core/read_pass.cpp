// SPDX-License-Identifier: MIT
#include <utility>

#include "core/failure_list.h"
#include "core/game_folder_names.h"
#include "core/installer.h"
#include "core/pass_support.h"
#include "text/text.h"

namespace rv {

void RV2003_2004_Add_On_Installer::ReadAddOns() {
    if (RefuseEmptyFolders(false)) {
        return;
    }
    PassScope running(pass_running_);
    ResetAllCounters();
    last_pass_.Start(false, GameFolder, AddOnFolder);

    std::optional<AddOnWalk> walk;
    GameFolderNames game(GameFolder);
    FailureList unread;  // one line per file or folder that could not be checked, and why
    const bool finished = WalkRows(kReadOrder, walk, nullptr, [&](const RowFile& file) {
        CheckOne(file, game, unread);
        return true;
    });
    if (!finished) {
        return;  // the window is closing
    }
    for (const WalkProblem& problem : walk->problems) {
        unread.Add(problem.path + ": " + problem.reason);
    }
    ShowReadResult();
    // What could not be checked; the reasons of an earlier write's failures no longer belong to
    // the status line.
    window_.SetToolTip(kStatusLabel, unread.ToolTip());
    StartComparisons(unread.ToolTip());
}

// The read ends as soon as it has walked: whether a file already there is another version is
// learnt afterwards, beside the window, sizes first and the content only when they agree.
void RV2003_2004_Add_On_Installer::StartComparisons(std::string tool_tip) {
    read_tool_tip_ = std::move(tool_tip);
    comparisons_.emplace(comparisons_wanted_);
    if (comparisons_wanted_) {
        TendComparisons();
    }
}

void RV2003_2004_Add_On_Installer::TendComparisons() {
    if (comparisons_ && comparisons_->Tend(last_pass_.files)) {
        ShowComparisons();
    }
}

void RV2003_2004_Add_On_Installer::FinishComparisons() {
    if (comparisons_) {
        comparisons_->Finish(last_pass_.files);
        ShowComparisons();
    }
}

void RV2003_2004_Add_On_Installer::ShowComparisons() {
    comparisons_.reset();
    window_.SetToolTip(kStatusLabel,
                       read_tool_tip_ + NotReplacedLine(last_pass_, read_tool_tip_.empty()));
}

void RV2003_2004_Add_On_Installer::CheckOne(const RowFile& file, GameFolderNames& game,
                                            FailureList& unread) {
    window_.SetCaption(kStatusLabel, "Reading: " + text::ShownName(file.name));
    CountOne(CounterKind::Read, file.category);
    const std::string& path = file.walked.path;
    if (file.walked.outside) {
        unread.Add(path + ": " + std::string(kLeadsOutside));
        last_pass_.Add(path, file.category, "", FileState::Failed, std::string(kLeadsOutside));
        return;
    }
    TargetPath = game.TargetPath(file.category, file.name);
    TargetExists = game.Holds(file.category, file.name);
    CountOne(TargetExists ? CounterKind::Exist : CounterKind::Ready, file.category);
    last_pass_.Add(path, file.category, TargetPath,
                   TargetExists ? FileState::AlreadyThere : FileState::ReadyToWrite);
}

void RV2003_2004_Add_On_Installer::ShowReadResult() {
    const std::int32_t read = counters_.SumIntoTotal(CounterKind::Read);
    const std::int32_t exist = counters_.SumIntoTotal(CounterKind::Exist);
    const std::int32_t ready = counters_.SumIntoTotal(CounterKind::Ready);
    if (ready == 0) {
        window_.SetCaption(kStatusLabel, "No Data to write - " + std::to_string(read) +
                                             " File(s) loaded - " + std::to_string(exist) +
                                             " File(s) already exisit!");
        window_.SetEnabled(kWriteButton, false);
    } else {
        window_.SetCaption(kStatusLabel, std::to_string(ready) + " File(s) are ready to write - " +
                                             std::to_string(read) + " File(s) checked!");
        window_.SetEnabled(kWriteButton, true);
    }
}

}  // namespace rv
