#include "core/failure_list.h"
#include "core/installer.h"
#include "core/pass_support.h"
#include "core/yield_clock.h"
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
    YieldClock clock(window_);
    for (const CategoryInfo& info : kCategories) {
        platform::RemoveStaleTemporaries(GameFolder + SubFolderText(info.category));
    }
    last_pass_.Start(true, GameFolder, AddOnFolder);

    std::int32_t failed = 0;
    FailureList failures;  // one line per failed copy: source path and reason
    FoundList found;
    for (std::size_t row = 0; row < kWriteOrder.size(); ++row) {
        const Category category = kWriteOrder[row].category;
        if (!SearchRow(MatchSuffix(kWriteOrder[row].pattern), found)) {
            return;  // the window is closing: nothing more is copied
        }
        if (StartsCategory(row)) {
            counters_.Clear(CounterKind::Written, category);
        }
        const std::string sub_folder = SubFolderText(category);
        for (std::size_t i = 0; i + 1 < found.size(); ++i) {
            SourcePath = text::TrimSpaces(found[i]);
            TargetPath = GameFolder + sub_folder + SplitFileFromPath(SourcePath);
            TargetExists = FileExists(TargetPath);
            if (TargetExists) {
                last_pass_.Add(SourcePath, category, TargetPath, FileState::AlreadyThere);
                continue;
            }
            window_.SetCaption(kStatusLabel, "Copying: " + text::ShownName(SourcePath));
            const platform::CopyResult result = platform::CopyNewFile(
                SourcePath, TargetPath, [&clock] { return clock.KeepGoing(); });
            if (result.outcome == platform::CopyOutcome::Stopped) {
                return;  // the window is closing or the program is ending: nothing more is copied
            }
            if (result.outcome == platform::CopyOutcome::Copied) {
                CountOne(CounterKind::Written, category);
                last_pass_.Add(SourcePath, category, TargetPath, FileState::Written);
            } else if (result.outcome == platform::CopyOutcome::DestinationExists) {
                // Something took the name after the check: the same as finding it there.
                TargetExists = true;
                last_pass_.Add(SourcePath, category, TargetPath, FileState::AlreadyThere);
            } else {
                if (failed < FileCounters::kMax) {
                    ++failed;
                }
                failures.Add(SourcePath + ": " + result.reason);
                last_pass_.Add(SourcePath, category, TargetPath, FileState::Failed, result.reason);
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
    LeaveReceipt(tool_tip);
    window_.SetToolTip(kStatusLabel, tool_tip);
}

}  // namespace rv
