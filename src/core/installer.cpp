#include "core/installer.h"

#include <utility>

#include "core/pass_support.h"
#include "platform/file_system.h"

namespace rv {

RV2003_2004_Add_On_Installer::RV2003_2004_Add_On_Installer(WindowOperations& window)
    : window_(window) {}

void RV2003_2004_Add_On_Installer::cmd_read_Click() {
    if (!pass_running_) {
        ReadAddOns();
    }
}

void RV2003_2004_Add_On_Installer::cmd_write_Click() {
    if (!pass_running_) {
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
    const auto cut = Pfad.find_last_of(":/\\");
    if (cut == std::string::npos) {
        return Pfad;
    }
    return Pfad.substr(cut + 1);
}

bool RV2003_2004_Add_On_Installer::FindFiles(std::string folder, std::string_view pattern,
                                             FoundList& list) {
    return rv::FindFiles(std::move(folder), pattern, list, window_);
}

bool RV2003_2004_Add_On_Installer::FileExists(const std::string& path) const {
    return platform::PathExists(path);
}

void RV2003_2004_Add_On_Installer::CountOne(CounterKind kind, Category category) {
    const std::int32_t count = counters_.Increment(kind, category);
    window_.SetCaption(CounterLabel(category, kind), std::to_string(count));
}

bool RV2003_2004_Add_On_Installer::SearchRow(std::string_view pattern, FoundList& list) {
    list.assign(1, std::string());
    window_.SetMousePointer(MousePointer::Hourglass);
    bool open = window_.ProcessPendingMessages() && FindFiles(AddOnFolder, pattern, list);
    window_.SetMousePointer(MousePointer::Default);
    return open && window_.ProcessPendingMessages();
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
