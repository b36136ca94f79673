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
    PassTest() {
        for (const CategoryInfo& info : kCategories) {
            temp.AddFolder("game/" + std::string(info.sub_folder));
        }
        temp.AddFolder("add");
        installer.GameFolder = temp.Path("game");
        installer.AddOnFolder = temp.Path("add");
    }

    void AddOn(const std::string& relative, const std::string& content = "data") {
        temp.AddFile("add/" + relative, content);
    }
    void InGame(const std::string& relative, const std::string& content = "game's own") {
        temp.AddFile("game/" + relative, content);
    }
    std::string Caption(Category category, CounterKind kind) const {
        return window.Caption({Info(category).counter_label, static_cast<int>(kind)});
    }
    std::string Status() const { return window.Caption({"lbl_status"}); }
    // The texts lbl_status was given, in order.
    std::vector<std::string> StatusLines() const {
        std::vector<std::string> lines;
        for (const auto& line : window.LogLines("caption lbl_status = ")) {
            lines.push_back(line.substr(std::string("caption lbl_status = ").size()));
        }
        return lines;
    }

    TempFolder temp;
    RecordingWindow window;
    RV2003_2004_Add_On_Installer installer{window};
};

}  // namespace rv::test
