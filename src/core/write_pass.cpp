// SPDX-License-Identifier: MIT
#include <utility>

#include "core/failure_list.h"
#include "core/game_folder_names.h"
#include "core/installer.h"
#include "core/pass_progress.h"
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

// Names in the journal each file found already there that proves to be the add-on's own.
SamenessChecks::Noted Claiming(PassJournal& journal) {
    return [&journal](const PassFile& file) {
        if (file.sameness == Sameness::Identical) {
            journal.Found(file);
        }
    };
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
    if (!BeginJournal()) {
        return;
    }

    WriteTally tally(journal_ != nullptr);
    ProgressReport progress(window_);
    std::optional<AddOnWalk> walk;
    GameFolderNames game(GameFolder);
    for (const CategoryInfo& info : kCategories) {
        platform::RemoveStaleTemporaries(game.TargetPath(info.category, ""));
    }
    const auto start_row = [&](std::size_t row) {
        if (row == 0) {
            // A folder the walk could not list may hold files of every row.
            for (const WalkProblem& problem : walk->problems) {
                tally.Fail(problem.path, problem.reason);
            }
            progress.Start(FilesOfRows(kWriteOrder, *walk));
        }
        if (StartsCategory(row)) {
            counters_.Clear(CounterKind::Written, kWriteOrder[row].category);
        }
        NoteIntentsAhead(kWriteOrder[row], *walk, game);
    };
    // Also asked after each file: a copy may be done by the system in one go, never asking
    // between chunks.
    const bool finished = WalkRows(kWriteOrder, walk, start_row, [&](const RowFile& file) {
        const bool go_on =
            InstallOne(file, game, tally) != InstallOutcome::Stopped && !platform::EndRequested();
        progress.Handled();
        if (tally.keeping_receipt) {
            tally.sameness.Collect(last_pass_.files, Claiming(*journal_));
        }
        return go_on;
    });
    // A pass stopped midway (the window closing, the program ending) still leaves the receipt of
    // what it wrote, and says nothing more; its totals still count what it wrote.
    std::string tool_tip;
    if (finished) {
        ShowWriteResult(tally);
        tool_tip = tally.failures.ToolTip();
    } else {
        counters_.SumIntoTotal(CounterKind::Written);
    }
    FinishWrite(tally, tool_tip);
    if (finished) {
        window_.SetToolTip(kStatusLabel, tool_tip);
    }
}

InstallOutcome RV2003_2004_Add_On_Installer::InstallOne(const RowFile& file, GameFolderNames& game,
                                                        WriteTally& tally) {
    SourcePath = file.walked.path;
    TargetPath = game.TargetPath(file.category, file.name);
    if (file.walked.outside) {
        tally.Fail(SourcePath, std::string(kLeadsOutside));
        last_pass_.Add(SourcePath, file.category, "", FileState::Failed,
                       std::string(kLeadsOutside));
        return InstallOutcome::Failed;
    }
    TargetExists = game.Holds(file.category, file.name);
    if (TargetExists) {
        NoteAlreadyThere(file.category, tally);
        return InstallOutcome::AlreadyThere;
    }
    if (std::string problem = NoteIntent(file.category); !problem.empty()) {
        tally.Fail(SourcePath, problem);
        last_pass_.Add(SourcePath, file.category, TargetPath, FileState::Failed, problem);
        return InstallOutcome::Failed;
    }
    window_.SetCaption(kStatusLabel, "Copying: " + text::ShownName(SourcePath));
    const platform::KeepCopying keep_copying = [this] {
        return !platform::EndRequested() && YieldWhenDue();
    };
    std::string hash;
    platform::CopyResult result = tally.keeping_receipt
                                      ? CopyAndHash(SourcePath, TargetPath, keep_copying, hash)
                                      : platform::CopyNewFile(SourcePath, TargetPath, keep_copying);
    return NoteCopy(file, game, tally, std::move(result), std::move(hash));
}

InstallOutcome RV2003_2004_Add_On_Installer::NoteCopy(const RowFile& file, GameFolderNames& game,
                                                      WriteTally& tally,
                                                      platform::CopyResult result,
                                                      std::string hash) {
    switch (result.outcome) {
        case platform::CopyOutcome::Stopped:
            return InstallOutcome::Stopped;
        case platform::CopyOutcome::Copied: {
            CountOne(CounterKind::Written, file.category);
            game.Add(file.category, file.name);
            PassFile& written =
                last_pass_.Add(SourcePath, file.category, TargetPath, FileState::Written);
            if (tally.keeping_receipt) {
                written.written = result.copy;
                written.hash = std::move(hash);
                journal_->Wrote(written);
            }
            return InstallOutcome::Written;
        }
        case platform::CopyOutcome::DestinationExists:
            // Something took the name after the check: the same as finding it there.
            TargetExists = true;
            game.Add(file.category, file.name);
            NoteAlreadyThere(file.category, tally);
            return InstallOutcome::AlreadyThere;
        default:
            tally.Fail(SourcePath, result.reason);
            last_pass_.Add(SourcePath, file.category, TargetPath, FileState::Failed, result.reason);
            return InstallOutcome::Failed;
    }
}

void RV2003_2004_Add_On_Installer::NoteAlreadyThere(Category category, WriteTally& tally) {
    const PassFile& found =
        last_pass_.Add(SourcePath, category, TargetPath, FileState::AlreadyThere);
    if (tally.keeping_receipt) {
        journal_->AlreadyThere(found);
        tally.sameness.Check(last_pass_.files.size() - 1, found);
    }
}

void RV2003_2004_Add_On_Installer::ShowWriteResult(const WriteTally& tally) {
    const std::int32_t written = counters_.SumIntoTotal(CounterKind::Written);
    if (tally.failed == 0) {
        window_.SetCaption(kStatusLabel,
                           "Ready to play - " + std::to_string(written) + " File(s) written!");
    } else {
        window_.SetCaption(kStatusLabel, "Write incomplete - " + std::to_string(written) +
                                             " File(s) written - " + std::to_string(tally.failed) +
                                             " File(s) failed!");
    }
}

void RV2003_2004_Add_On_Installer::FinishWrite(WriteTally& tally, std::string& failures) {
    tally.sameness.Finish(
        last_pass_.files, [this] { YieldWhenDue(); },
        tally.keeping_receipt ? Claiming(*journal_)
                              : SamenessChecks::Noted([](const PassFile&) {}));
    // A receipt that could not be saved is named after the failures, however many they are.
    LeaveReceipt(failures);
    if (tally.keeping_receipt) {  // only then were the files already there compared
        failures += NotReplacedLine(last_pass_, failures.empty());
    }
}

}  // namespace rv
