// SPDX-License-Identifier: MIT
// After Read has shown its status, the files already there are compared with the add-on's
// beside the window, which goes on answering; the status tool tip then counts those of another
// version. The same on both windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "form/form_view.h"
#include "support/sample_addon.h"
#include "window/window_driver.h"

namespace rv::test {
namespace {

struct GameMap {
    std::string name;    // of an add-on map, which holds "add-on map"
    const char* game;    // what the game's Maps holds under its name, if anything
    std::string listed;  // its state in the list of the last pass
};

// The window started on an add-on folder of these maps, with RV2004 registered at a game folder
// that holds what each names.
void StartOn(WindowDriver& w, const std::vector<GameMap>& maps) {
    const std::filesystem::path root = NativePath(w.Root());
    MakeGameFolder(TextOf(root / "game"));
    std::filesystem::create_directories(root / "add");
    for (const GameMap& map : maps) {
        std::ofstream(root / "add" / map.name, std::ios::binary) << "add-on map";
        if (map.game != nullptr) {
            std::ofstream(root / "game" / "Maps" / map.name, std::ios::binary) << map.game;
        }
    }
    w.SetRegistered({{"RV2004", TextOf(root / "game")}});
    w.Start({TextOf(root / "add")});
}

// The comparisons come after the status line (the core's read tests see that Read returns
// before them; here the window may already have had its turn when the click returns); the list of
// the last pass then shows what they found without comparing again, so that it agrees with the
// line.
TEST(NotReplacedAfterRead, CountsTheOtherVersionsOnceComparedBesideTheWindow) {
    const auto w = MakeWindowDriver();
    const std::vector<GameMap> maps = {
        {"Same.rv2", "add-on map", "already there and identical"},
        {"SameSize.rv2", "add-on maP", "already there but different"},
        {"Longer.rv2", "add-on map, longer", "already there but different"},
        {"New.rv2", nullptr, "ready to write"},
    };
    StartOn(*w, maps);
    w->Click(names::cmd_read);
    const std::string status = "1 File(s) are ready to write - 4 File(s) checked!";
    EXPECT_EQ(w->Caption({names::lbl_status}), status);
    ASSERT_TRUE(w->WaitFor([&] { return !w->ToolTip({names::lbl_status}).empty(); }));
    EXPECT_EQ(w->ToolTip({names::lbl_status}),
              "2 File(s) already there in another version would not be replaced (see Files of "
              "the last pass)");
    EXPECT_EQ(w->Caption({names::lbl_status}), status);

    std::ofstream(NativePath(w->Root()) / "game" / "Maps" / "Same.rv2") << "add-on maP";
    ASSERT_TRUE(w->ChooseMenuEntry(kFileListEntry, false));
    std::vector<std::string> expected;
    for (const GameMap& map : maps) {
        expected.push_back(map.name + "|Maps|" + TextOf(std::filesystem::path("Maps") / map.name) +
                           "|" + map.listed);
    }
    std::vector<std::string> rows = w->Rows();
    rows.erase(rows.begin());  // the header
    std::sort(rows.begin(), rows.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
    w->CloseDialog();
}

// Closing the window while comparisons are pending closes it at once; they are dropped, and
// what they had asked of the window never reaches it once it is gone.
TEST(NotReplacedAfterRead, ClosingTheWindowWhileComparingDropsThem) {
    const auto w = MakeWindowDriver();
    std::vector<GameMap> maps;
    for (int n = 0; n < 300; ++n) {  // more than the comparing thread is handed at once
        maps.push_back({"Map" + std::to_string(n) + ".rv2", n % 2 ? "add-on map" : "other", ""});
    }
    StartOn(*w, maps);
    w->Click(names::cmd_read);
    w->Close();
    EXPECT_FALSE(w->Open());
    w->Start();  // in place of the window that closed, which goes now
    ASSERT_TRUE(w->WaitFor([] { return true; }));  // what was left for the window is handled
    EXPECT_EQ(w->ToolTip({names::lbl_status}), "");
}

}  // namespace
}  // namespace rv::test
