// SPDX-License-Identifier: MIT
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
    for (const CategoryRow& row : kReadOrder) {
        if (!SearchRow(walk)) {
            return;  // the window is closing
        }
        const std::string suffix = MatchSuffix(row.pattern);
        for (const WalkedFile& file : walk->files) {
            if (!NameMatches(file.Name(), suffix)) {
                continue;
            }
            const std::string name(text::TrimSpaces(SplitFileFromPath(file.path)));
            window_.SetCaption(kStatusLabel, "Reading: " + text::ShownName(name));
            CountOne(CounterKind::Read, row.category);
            if (file.outside) {
                unread.Add(file.path + ": " + std::string(kLeadsOutside));
                last_pass_.Add(file.path, row.category, "", FileState::Failed,
                               std::string(kLeadsOutside));
            } else {
                TargetPath = game.TargetPath(row.category, name);
                TargetExists = game.Holds(row.category, name);
                CountOne(TargetExists ? CounterKind::Exist : CounterKind::Ready, row.category);
                last_pass_.Add(file.path, row.category, TargetPath,
                               TargetExists ? FileState::AlreadyThere : FileState::ReadyToWrite);
            }
            if (!YieldWhenDue()) {
                return;
            }
        }
    }
    for (const WalkProblem& problem : walk->problems) {
        unread.Add(problem.path + ": " + problem.reason);
    }

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
    // What could not be checked; the reasons of an earlier write's failures no longer belong to
    // the status line.
    window_.SetToolTip(kStatusLabel, unread.ToolTip());
}

}  // namespace rv
