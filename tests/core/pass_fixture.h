// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "core/category_table.h"
#include "core/installer.h"
#include "support/recording_window.h"
#include "support/sample_addon.h"
#include "support/temp_folder.h"

namespace rv::test {

// An add-on folder and a game folder with its seven sub-folders, and an installer pointed at them.
struct Pass {
    Pass() {
        MakeGameFolder(temp.Path("game"));
        temp.AddFolder("add");
        installer.SetAddOnFolder(temp.Path("add"));
        installer.SetGameFolder(temp.Path("game"));
    }
    std::string Add(const std::string& file) const { return temp.Path("add/" + file); }
    std::string Game(const std::string& file) const { return temp.Path("game/" + file); }
    std::string Caption(Category category, CounterKind kind) const {
        return window.Caption({Info(category).counter_label, static_cast<int>(kind)});
    }
    std::string Status() const { return window.Caption({"lbl_status"}); }
    std::string ToolTip() const { return window.ToolTip("lbl_status"); }
    // The texts lbl_status was given, in order.
    std::vector<std::string> StatusLines() const {
        return RecordingWindow::Of(window.given, "lbl_status");
    }

    TempFolder temp;
    RecordingWindow window;
    RV2003_2004_Add_On_Installer installer{window};
};

}  // namespace rv::test
