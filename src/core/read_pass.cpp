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

    FoundList found;
    for (const CategoryRow& row : kReadOrder) {
        if (!SearchRow(MatchSuffix(row.pattern), found)) {
            return;  // the window is closing
        }
        const std::string sub_folder = SubFolderText(row.category);
        for (std::size_t i = 0; i + 1 < found.size(); ++i) {
            std::string addon_path(text::TrimSpaces(found[i]));
            found[i] = SplitFileFromPath(found[i]);
            const std::string name(text::TrimSpaces(found[i]));
            window_.SetCaption(kStatusLabel, "Reading: " + name);
            CountOne(CounterKind::Read, row.category);
            TargetPath = GameFolder + sub_folder + name;
            TargetExists = FileExists(TargetPath);
            CountOne(TargetExists ? CounterKind::Exist : CounterKind::Ready, row.category);
            last_pass_.Add(std::move(addon_path), row.category, TargetPath,
                           TargetExists ? FileState::AlreadyThere : FileState::ReadyToWrite);
        }
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
    // The reasons of an earlier write's failures no longer belong to the status line.
    window_.SetToolTip(kStatusLabel, "");
}

}  // namespace rv
