#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pass_fixture.h"

namespace rv::test {
namespace {

using enum Category;
namespace fs = std::filesystem;

class WritePass : public PassTest {};

TEST_F(WritePass, ExactStatusSequenceOfASmallPass) {
    AddOn("Pack/Maps/Arena.rv2", "arena");
    AddOn("b.upl", "upl");
    AddOn("a.dll", "dll");
    AddOn("x.u", "u");
    AddOn("menu", "menu");
    AddOn("Sys/y.int", "int");
    AddOn("present.utx", "add-on's");
    AddOn("notes.txt");
    InGame("Textures/present.utx");
    window.SetCaption({"lbl_status"}, "before");
    window.log.clear();

    installer.cmd_write_Click();

    EXPECT_EQ(StatusLines(), (std::vector<std::string>{
                                 "Copying: " + temp.Path("add/Pack/Maps/Arena.rv2"),
                                 "Copying: " + temp.Path("add/menu"),
                                 "Copying: " + temp.Path("add/x.u"),
                                 "Copying: " + temp.Path("add/Sys/y.int"),
                                 "Copying: " + temp.Path("add/a.dll"),
                                 "Copying: " + temp.Path("add/b.upl"),
                                 "Ready to play - 6 File(s) written!",
                             }));
    EXPECT_EQ(window.LogLines("caption lbl_SystemCounter(1)"),
              (std::vector<std::string>{
                  "caption lbl_SystemCounter(1) = 1", "caption lbl_SystemCounter(1) = 2",
                  "caption lbl_SystemCounter(1) = 3", "caption lbl_SystemCounter(1) = 4",
                  "caption lbl_SystemCounter(1) = 5"}));
    EXPECT_EQ(Caption(Maps, CounterKind::Written), "1");
    EXPECT_EQ(Caption(Textures, CounterKind::Written), "") << "no copy, label untouched";
    EXPECT_EQ(installer.Counters().Total(CounterKind::Written), 6);
    EXPECT_EQ(window.ToolTip("lbl_status"), "");
    EXPECT_EQ(window.LogLines("tooltip lbl_status"),
              (std::vector<std::string>{"tooltip lbl_status = "}));

    EXPECT_EQ(ReadWhole(temp.Path("game/Maps/Arena.rv2")), "arena");
    EXPECT_EQ(ReadWhole(temp.Path("game/System/menu")), "menu");
    EXPECT_EQ(ReadWhole(temp.Path("game/Textures/present.utx")), "game's own");
    EXPECT_EQ(NamesIn(temp.Path("game/System")),
              (std::vector<std::string>{"a.dll", "b.upl", "menu", "x.u", "y.int"}));
    EXPECT_TRUE(window.LogLines("enabled ").empty()) << "the pass enables and disables nothing";
}

TEST_F(WritePass, KeepsContentAndModificationTime) {
    const std::string content(300000, 'q');
    AddOn("big.utx", content);
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(temp.Path("add/big.utx"), stamp);
    installer.cmd_write_Click();
    const std::string copy = temp.Path("game/Textures/big.utx");
    EXPECT_EQ(ReadWhole(copy), content);
    EXPECT_EQ(fs::last_write_time(copy), stamp);
}

TEST_F(WritePass, SecondPassCopiesNothingAndKeepsTheLabels) {
    AddOn("A/same.ogg", "first");
    AddOn("B/same.ogg", "second");
    AddOn("one.uax");
    installer.cmd_read_Click();
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 2 File(s) written!");
    EXPECT_EQ(ReadWhole(temp.Path("game/Music/same.ogg")), "first") << "the first found wins";
    EXPECT_EQ(window.LogLines("caption lbl_status = Copying: " + temp.Path("add/B")).size(), 0U);

    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 0 File(s) written!");
    EXPECT_EQ(Caption(Music, CounterKind::Written), "1");
    EXPECT_EQ(Caption(Sounds, CounterKind::Written), "1");
    EXPECT_EQ(installer.Counters().Count(CounterKind::Written, Music), 0)
        << "counts restart each pass even where labels keep the old caption";
    EXPECT_EQ(installer.Counters().Total(CounterKind::Written), 0);
}

TEST_F(WritePass, FailedCopiesAreNotCountedAndAreListed) {
    struct Case {
        std::string title;
        std::string break_game;  // what is done to the game folder
        std::string status;
    };
    const std::vector<Case> cases = {
        {"missing game sub-folder", "remove Textures",
         "Write incomplete - 1 File(s) written - 2 File(s) failed!"},
        {"game sub-folder is a file", "file Textures",
         "Write incomplete - 1 File(s) written - 2 File(s) failed!"},
        {"all well", "", "Ready to play - 3 File(s) written!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder add;
        TempFolder game;
        for (const CategoryInfo& info : kCategories) {
            game.AddFolder(std::string(info.sub_folder));
        }
        if (!c.break_game.empty()) {
            fs::remove_all(game.Path("Textures"));
        }
        if (c.break_game == "file Textures") {
            game.AddFile("Textures", "not a folder");
        }
        add.AddFile("skin.utx");
        add.AddFile("map.rv2");
        add.AddFile("sky.utx");
        installer.AddOnFolder = add.Path();
        installer.GameFolder = game.Path();
        window.SetToolTip({"lbl_status"}, "stale");
        window.log.clear();

        installer.cmd_write_Click();

        EXPECT_EQ(Status(), c.status);
        const std::string tip = window.ToolTip("lbl_status");
        if (c.break_game.empty()) {
            EXPECT_EQ(tip, "");
            EXPECT_EQ(Caption(Textures, CounterKind::Written), "2");
            continue;
        }
        // Both Textures files failed: one line each, source path first, then the reason.
        const std::string sky = add.Path("sky.utx") + ": ";
        const std::string skin = add.Path("skin.utx") + ": ";
        EXPECT_EQ(tip.rfind(skin, 0), 0U) << tip;
        EXPECT_NE(tip.find("\n" + sky), std::string::npos) << tip;
        EXPECT_GT(tip.size(), skin.size() + sky.size() + 10) << "each line gives a reason";
        EXPECT_EQ(tip.find(add.Path("map.rv2")), std::string::npos);
        EXPECT_EQ(installer.Counters().Count(CounterKind::Written, Textures), 0);
        EXPECT_TRUE(window.LogLines("caption lbl_TexturCounter(1)").empty());
        EXPECT_EQ(ReadWhole(game.Path("Maps/map.rv2")), "data") << "the pass went on";
    }
}

TEST_F(WritePass, ASourceThatVanishesAfterTheSearchFails) {
    AddOn("gone.usx");
    AddOn("kept.usx");
    // The yield right after the search of step 5 (StaticMeshes) removes one found file.
    window.on_yield = [&] {
        if (window.LogLines("pointer 0").size() == 5) {
            fs::remove(temp.Path("add/gone.usx"));
        }
        return true;
    };
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Write incomplete - 1 File(s) written - 1 File(s) failed!");
    EXPECT_FALSE(Exists(temp.Path("game/StaticMeshes/gone.usx")));
    EXPECT_EQ(NamesIn(temp.Path("game/StaticMeshes")), (std::vector<std::string>{"kept.usx"}));
    EXPECT_EQ(window.ToolTip("lbl_status").rfind(temp.Path("add/gone.usx") + ": ", 0), 0U);
}

TEST_F(WritePass, RefusesEmptyFolders) {
    AddOn("a.ukx");
    struct Case {
        std::string add_on;
        std::string game;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"", temp.Path("game"), "Please open your Add-On Folder first!"},
        {temp.Path("add"), "", "Please open your Game Folder first!"},
    };
    for (const Case& c : cases) {
        installer.AddOnFolder = c.add_on;
        installer.GameFolder = c.game;
        window.yields = 0;
        installer.cmd_write_Click();
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(window.yields, 0);
        EXPECT_TRUE(fs::is_empty(temp.Path("game/Animations")));
    }
}

TEST_F(WritePass, ClicksWhileItYieldsAreRefused) {
    AddOn("a.ukx");
    window.on_yield = [&] {
        installer.cmd_read_Click();
        installer.cmd_write_Click();
        return true;
    };
    installer.cmd_write_Click();
    EXPECT_TRUE(window.LogLines("caption lbl_status = Reading").empty());
    EXPECT_EQ(window.LogLines("caption lbl_status = Copying").size(), 1U);
    EXPECT_EQ(Status(), "Ready to play - 1 File(s) written!");
}

TEST_F(WritePass, StopsCopyingWhenTheWindowCloses) {
    AddOn("a.ukx");
    AddOn("b.rv2");
    AddOn("c.utx");
    // Step 1 yields three times and copies a.ukx; the window closes at step 2's first yield.
    window.on_yield = [&] { return window.yields < 4; };
    installer.cmd_write_Click();
    EXPECT_EQ(NamesIn(temp.Path("game/Animations")), (std::vector<std::string>{"a.ukx"}));
    EXPECT_TRUE(fs::is_empty(temp.Path("game/Maps")));
    EXPECT_TRUE(fs::is_empty(temp.Path("game/Textures")));
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Copying: " + temp.Path("add/a.ukx")}));
    EXPECT_EQ(window.pointer, MousePointer::Default);
    EXPECT_FALSE(installer.PassRunning());
}

}  // namespace
}  // namespace rv::test
