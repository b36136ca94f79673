#include "core/installer.h"
#include "core/pass_support.h"
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
    last_pass_.Start(true, GameFolder, AddOnFolder);

    std::int32_t failed = 0;
    std::string failures;  // one line per failed copy: source path and reason
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
            window_.SetCaption(kStatusLabel, "Copying: " + SourcePath);
            const platform::CopyResult result = platform::CopyNewFile(SourcePath, TargetPath);
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
                if (!failures.empty()) {
                    failures += '\n';
                }
                failures += SourcePath + ": " + result.reason;
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
    LeaveReceipt(failures);
    window_.SetToolTip(kStatusLabel, failures);
}

}  // namespace rv
