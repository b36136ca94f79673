// SPDX-License-Identifier: MIT
#include "core/failure_list.h"
#include "core/game_folder_names.h"
#include "core/installer.h"
#include "core/pass_support.h"
#include "core/sameness_checks.h"
#include "platform/end_signals.h"
#include "platform/file_system.h"
#include "text/text.h"

namespace rv {
namespace {

// True for the first row of the write order that belongs to the row's category: the category's
// Written count starts from 0 there.
bool StartsCategory(std::size_t row) {
    for (std::size_t earlier = 0; earlier < row; ++earlier) {
        if (kWriteOrder[earlier].category == kWriteOrder[row].category) {
            return false;
        }
    }
    return true;
}

}  // namespace

void RV2003_2004_Add_On_Installer::WriteAddOns() {
    if (RefuseEmptyFolders(true)) {
        return;
    }
    PassScope running(pass_running_);
    // A signal that ends the program lets the copy under way remove its unfinished file first.
    const platform::EndSignalsDeferred end_signals;
    const platform::DestinationFoldersKept folders;  // each opened once, not once per file
    last_pass_.Start(true, GameFolder, AddOnFolder);

    std::int32_t failed = 0;
    FailureList failures;  // one line per failed copy: source path and reason
    const auto fail = [&](const std::string& path, const std::string& reason) {
        if (failed < FileCounters::kMax) {
            ++failed;
        }
        failures.Add(path + ": " + reason);
    };
    // A receipt needs what was written, learnt as each file is copied, and whether a file already
    // there is the add-on's own, compared beside the pass and gathered before the receipt is made.
    const bool keeping_receipt = Journal != nullptr;
    SamenessChecks sameness;
    const auto already_there = [&](Category category) {
        const PassFile& found =
            last_pass_.Add(SourcePath, category, TargetPath, FileState::AlreadyThere);
        if (keeping_receipt) {
            sameness.Check(last_pass_.files.size() - 1, found);
        }
    };
    const auto leave_receipt = [&](std::string& failure_lines) {
        sameness.Finish(last_pass_.files, [this] { YieldWhenDue(); });
        LeaveReceipt(failure_lines);
    };
    // A pass stopped midway (the window closing, the program ending) still leaves the receipt of
    // what it wrote, so that those files can be taken back.
    const auto stop = [&] {
        std::string unseen_failures;
        leave_receipt(unseen_failures);
    };
    std::optional<AddOnWalk> walk;
    GameFolderNames game(GameFolder);
    for (const CategoryInfo& info : kCategories) {
        platform::RemoveStaleTemporaries(game.TargetPath(info.category, ""));
    }
    for (std::size_t row = 0; row < kWriteOrder.size(); ++row) {
        const Category category = kWriteOrder[row].category;
        if (!SearchRow(walk)) {
            return stop();  // the window is closing: nothing more is copied
        }
        if (row == 0) {
            // A folder the walk could not list may hold files of every row.
            for (const WalkProblem& problem : walk->problems) {
                fail(problem.path, problem.reason);
            }
        }
        if (StartsCategory(row)) {
            counters_.Clear(CounterKind::Written, category);
        }
        const std::string suffix = MatchSuffix(kWriteOrder[row].pattern);
        for (const WalkedFile& file : walk->files) {
            if (!NameMatches(file.Name(), suffix)) {
                continue;
            }
            SourcePath = file.path;
            // The name as the read pass checks it, so both passes mean the same file.
            const std::string name(text::TrimSpaces(SplitFileFromPath(SourcePath)));
            TargetPath = game.TargetPath(category, name);
            if (file.outside) {
                fail(SourcePath, std::string(kLeadsOutside));
                last_pass_.Add(SourcePath, category, "", FileState::Failed,
                               std::string(kLeadsOutside));
            } else if (TargetExists = game.Holds(category, name); TargetExists) {
                already_there(category);
            } else {
                window_.SetCaption(kStatusLabel, "Copying: " + text::ShownName(SourcePath));
                const platform::KeepCopying keep_copying = [this] {
                    return !platform::EndRequested() && YieldWhenDue();
                };
                std::string hash;
                const platform::CopyResult result =
                    keeping_receipt ? CopyAndHash(SourcePath, TargetPath, keep_copying, hash)
                                    : platform::CopyNewFile(SourcePath, TargetPath, keep_copying);
                if (result.outcome == platform::CopyOutcome::Stopped) {
                    return stop();  // the window is closing or the program is ending
                }
                if (result.outcome == platform::CopyOutcome::Copied) {
                    CountOne(CounterKind::Written, category);
                    game.Add(category, name);
                    PassFile& written =
                        last_pass_.Add(SourcePath, category, TargetPath, FileState::Written);
                    if (keeping_receipt) {
                        written.written = result.copy;
                        written.hash = std::move(hash);
                    }
                } else if (result.outcome == platform::CopyOutcome::DestinationExists) {
                    // Something took the name after the check: the same as finding it there.
                    TargetExists = true;
                    game.Add(category, name);
                    already_there(category);
                } else {
                    fail(SourcePath, result.reason);
                    last_pass_.Add(SourcePath, category, TargetPath, FileState::Failed,
                                   result.reason);
                }
            }
            // Also asked here: a copy may be done by the system in one go, never asking between
            // chunks.
            if (!YieldWhenDue() || platform::EndRequested()) {
                return stop();
            }
        }
    }

    const std::int32_t written = counters_.SumIntoTotal(CounterKind::Written);
    if (failed == 0) {
        window_.SetCaption(kStatusLabel,
                           "Ready to play - " + std::to_string(written) + " File(s) written!");
    } else {
        window_.SetCaption(kStatusLabel, "Write incomplete - " + std::to_string(written) +
                                             " File(s) written - " + std::to_string(failed) +
                                             " File(s) failed!");
    }
    // A receipt that could not be saved is named after the failures, however many they are.
    std::string tool_tip = failures.ToolTip();
    leave_receipt(tool_tip);
    if (keeping_receipt) {  // only then were the files already there compared
        tool_tip += NotReplacedLine(last_pass_, tool_tip.empty());
    }
    window_.SetToolTip(kStatusLabel, tool_tip);
}

}  // namespace rv
