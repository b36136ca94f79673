// SPDX-License-Identifier: MIT
#include "core/installer.h"

#include <utility>

#include "core/pass_support.h"
#include "platform/file_system.h"
#include "text/text.h"

namespace rv {

RV2003_2004_Add_On_Installer::RV2003_2004_Add_On_Installer(WindowOperations& window)
    : window_(window) {}

void RV2003_2004_Add_On_Installer::cmd_read_Click() {
    if (!pass_running_) {
        DropComparisons();
        ReadAddOns();
    }
}

void RV2003_2004_Add_On_Installer::cmd_write_Click() {
    if (!pass_running_) {
        DropComparisons();
        WriteAddOns();
    }
}

void RV2003_2004_Add_On_Installer::ResetAllCounters() {
    for (CounterKind kind : kResetOrder) {
        counters_.ClearTotal(kind);
        for (const CategoryInfo& info : kCategories) {
            counters_.Clear(kind, info.category);
            window_.SetCaption(CounterLabel(info.category, kind), "0");
        }
    }
}

std::string RV2003_2004_Add_On_Installer::SplitFileFromPath(std::string Pfad) {
    return Pfad.substr(platform::NameStart(Pfad));
}

void RV2003_2004_Add_On_Installer::CountOne(CounterKind kind, Category category) {
    const std::int32_t count = counters_.Increment(kind, category);
    window_.SetCaption(CounterLabel(category, kind), std::to_string(count));
}

bool RV2003_2004_Add_On_Installer::SearchRow(std::optional<AddOnWalk>& walk) {
    window_.SetMousePointer(MousePointer::Hourglass);
    bool open = YieldToWindow();
    if (open && !walk) {
        walk.emplace();
        open = WalkAddOnFolder(AddOnFolder, *walk, window_);
        // Each walked file enters the record once; growing it would move every entry at once.
        last_pass_.files.reserve(walk->files.size());
    }
    window_.SetMousePointer(MousePointer::Default);
    return open && YieldToWindow();
}

bool RV2003_2004_Add_On_Installer::WalkRows(std::span<const CategoryRow> rows,
                                            std::optional<AddOnWalk>& walk,
                                            const std::function<void(std::size_t row)>& start,
                                            const std::function<bool(const RowFile&)>& each) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!SearchRow(walk)) {
            return false;
        }
        if (start) {
            start(row);
        }
        if (!EachRowFile(rows[row], *walk,
                         [&](const RowFile& file) { return each(file) && YieldWhenDue(); })) {
            return false;
        }
    }
    return true;
}

bool EachRowFile(const CategoryRow& row, const AddOnWalk& walk,
                 const std::function<bool(const RowFile&)>& each) {
    const std::string suffix = MatchSuffix(row.pattern);
    for (const WalkedFile& file : walk.files) {
        if (!NameMatches(file.Name(), suffix)) {
            continue;
        }
        // The name as both passes check it, so that both mean the same file.
        const RowFile matched{file, row.category,
                              std::string(text::TrimSpaces(
                                  RV2003_2004_Add_On_Installer::SplitFileFromPath(file.path)))};
        if (!each(matched)) {
            return false;
        }
    }
    return true;
}

bool RV2003_2004_Add_On_Installer::YieldToWindow() {
    last_yield_ = std::chrono::steady_clock::now();
    return window_.ProcessPendingMessages();
}

bool RV2003_2004_Add_On_Installer::YieldWhenDue() {
    using namespace std::chrono_literals;
    return std::chrono::steady_clock::now() - last_yield_ < 100ms || YieldToWindow();
}

bool RV2003_2004_Add_On_Installer::RefuseEmptyFolders(bool writing) {
    if (AddOnFolder.empty()) {
        window_.SetCaption(kStatusLabel, "Please open your Add-On Folder first!");
        return true;
    }
    if (writing && GameFolder.empty()) {
        window_.SetCaption(kStatusLabel, "Please open your Game Folder first!");
        return true;
    }
    return false;
}

}  // namespace rv
