#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/category_table.h"
#include "core/installer.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv::test {

// An add-on folder and a game folder with its seven sub-folders, in a temporary folder, and an
// installer on a recording window pointed at them.
class PassTest : public ::testing::Test {
protected:
    PassTest() { UseFolders("add", "game"); }

    // Points the installer at fresh folders below the temporary folder.
    void UseFolders(const std::string& add, const std::string& game) {
        for (const CategoryInfo& info : kCategories) {
            temp.AddFolder(game + "/" + std::string(info.sub_folder));
        }
        temp.AddFolder(add);
        add_ = add;
        game_ = game;
        installer.AddOnFolder = temp.Path(add);
        installer.GameFolder = temp.Path(game);
    }
    void AddOn(const std::string& file, const std::string& content = "data") {
        temp.AddFile(add_ + "/" + file, content);
    }
    void InGame(const std::string& file, const std::string& content = "game's own") {
        temp.AddFile(game_ + "/" + file, content);
    }
    std::string AddPath(const std::string& file) const { return temp.Path(add_ + "/" + file); }
    std::string GamePath(const std::string& file) const { return temp.Path(game_ + "/" + file); }

    std::string Caption(Category category, CounterKind kind) const {
        return window.Caption({Info(category).counter_label, static_cast<int>(kind)});
    }
    std::string Status() const { return window.Caption({"lbl_status"}); }
    std::string ToolTip() const { return window.ToolTip("lbl_status"); }
    // The texts lbl_status was given, in order.
    std::vector<std::string> StatusLines() const {
        std::vector<std::string> lines;
        for (const auto& line : window.LogLines("caption lbl_status = ")) {
            lines.push_back(line.substr(21));
        }
        return lines;
    }

    TempFolder temp;
    RecordingWindow window;
    RV2003_2004_Add_On_Installer installer{window};
    std::string add_, game_;
};

}  // namespace rv::test
