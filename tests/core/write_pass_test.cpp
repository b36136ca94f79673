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
    for (const char* file : {"Pack/Maps/Arena.rv2", "b.upl", "a.dll", "x.u", "menu", "Sys/y.int",
                             "present.utx", "notes.txt"}) {
        AddOn(file, file);
    }
    InGame("Textures/present.utx");
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(AddPath("x.u"), stamp);
    window.log.clear();

    installer.cmd_write_Click();

    std::vector<std::string> expected;
    for (const char* file : {"Pack/Maps/Arena.rv2", "menu", "x.u", "Sys/y.int", "a.dll", "b.upl"}) {
        expected.push_back("Copying: " + AddPath(file));
    }
    expected.push_back("Ready to play - 6 File(s) written!");
    EXPECT_EQ(StatusLines(), expected);
    std::vector<std::string> system_counts;
    for (const char* count : {"1", "2", "3", "4", "5"}) {
        system_counts.push_back(std::string("caption lbl_SystemCounter(1) = ") + count);
    }
    EXPECT_EQ(window.LogLines("caption lbl_SystemCounter(1)"), system_counts);
    EXPECT_EQ(Caption(Maps, CounterKind::Written), "1");
    EXPECT_TRUE(window.LogLines("caption lbl_TexturCounter").empty()) << "no copy, no caption";
    EXPECT_EQ(window.LogLines("tooltip "), (std::vector<std::string>{"tooltip lbl_status = "}));
    EXPECT_TRUE(window.LogLines("enabled ").empty()) << "the pass enables and disables nothing";

    EXPECT_EQ(ReadWhole(GamePath("Maps/Arena.rv2")), "Pack/Maps/Arena.rv2");
    EXPECT_EQ(ReadWhole(GamePath("Textures/present.utx")), "game's own");
    EXPECT_EQ(NamesIn(GamePath("System")),
              (std::vector<std::string>{"a.dll", "b.upl", "menu", "x.u", "y.int"}));
    EXPECT_EQ(fs::last_write_time(GamePath("System/x.u")), stamp);
}

TEST_F(WritePass, SecondPassCopiesNothingAndKeepsTheLabels) {
    AddOn("A/same.ogg", "first");
    AddOn("B/same.ogg", "second");
    installer.cmd_write_Click();
    EXPECT_EQ(ReadWhole(GamePath("Music/same.ogg")), "first") << "the first found wins";
    EXPECT_EQ(StatusLines().size(), 2U) << "the second one is skipped without a line";
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 0 File(s) written!");
    EXPECT_EQ(Caption(Music, CounterKind::Written), "1");
    EXPECT_EQ(installer.Counters().Count(CounterKind::Written, Music), 0);
}

TEST_F(WritePass, FailedCopiesAreNotCountedAndAreListed) {
    const std::vector<std::string> cases = {"missing", "a file", "all well", "source vanishes"};
    for (const std::string& c : cases) {
        SCOPED_TRACE(c);
        UseFolders("add " + c, "game " + c);
        for (const char* file : {"skin.utx", "map.rv2", "sky.utx"}) {
            AddOn(file);
        }
        if (c == "missing" || c == "a file") {
            fs::remove(GamePath("Textures"));
        }
        if (c == "a file") {
            InGame("Textures");
        }
        // The yield right after the Textures search takes sky.utx away before its copy.
        window.on_yield = [&] {
            if (c == "source vanishes" && window.LogLines("pointer 0").size() == kRowCount) {
                fs::remove(AddPath("sky.utx"));
            }
            return true;
        };
        window.log.clear();

        installer.cmd_write_Click();

        const std::string skin = AddPath("skin.utx") + ": ", sky = AddPath("sky.utx") + ": ";
        if (c == "all well") {
            EXPECT_EQ(Status(), "Ready to play - 3 File(s) written!");
            EXPECT_EQ(ToolTip(), "");
        } else if (c == "source vanishes") {
            EXPECT_EQ(Status(), "Write incomplete - 2 File(s) written - 1 File(s) failed!");
            EXPECT_EQ(ToolTip().rfind(sky, 0), 0U) << ToolTip();
            EXPECT_EQ(ToolTip().find('\n'), std::string::npos);
            EXPECT_EQ(NamesIn(GamePath("Textures")), (std::vector<std::string>{"skin.utx"}));
        } else {
            EXPECT_EQ(Status(), "Write incomplete - 1 File(s) written - 2 File(s) failed!");
            // One line per failure: the source path, then a reason.
            EXPECT_EQ(ToolTip().rfind(skin, 0), 0U) << ToolTip();
            EXPECT_NE(ToolTip().find("\n" + sky), std::string::npos) << ToolTip();
            EXPECT_GT(ToolTip().size(), skin.size() + sky.size() + 10);
            EXPECT_TRUE(window.LogLines("caption lbl_TexturCounter(1)").empty());
            EXPECT_EQ(installer.Counters().Count(CounterKind::Written, Textures), 0);
        }
        EXPECT_EQ(ReadWhole(GamePath("Maps/map.rv2")), "data") << "the pass goes on";
    }
}

TEST_F(WritePass, RefusesEmptyFolders) {
    AddOn("a.ukx");
    const std::vector<std::array<std::string, 3>> cases = {
        {"", GamePath(""), "Please open your Add-On Folder first!"},
        {AddPath(""), "", "Please open your Game Folder first!"},
    };
    for (const auto& [add, game, status] : cases) {
        installer.AddOnFolder = add;
        installer.GameFolder = game;
        window.log.clear();
        installer.cmd_write_Click();
        EXPECT_EQ(window.log, (std::vector<std::string>{"caption lbl_status = " + status}));
    }
}

TEST_F(WritePass, RefusesClicksWhileItYieldsAndStopsCopyingWhenTheWindowCloses) {
    AddOn("a.ukx");
    AddOn("b.rv2");
    window.on_yield = [&] {
        installer.cmd_read_Click();
        installer.cmd_write_Click();
        return window.yields < 4;  // step 1 yields three times; the window closes in step 2
    };
    installer.cmd_write_Click();
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Copying: " + AddPath("a.ukx")}));
    EXPECT_EQ(NamesIn(GamePath("Animations")), (std::vector<std::string>{"a.ukx"}));
    EXPECT_TRUE(fs::is_empty(GamePath("Maps")));
    EXPECT_EQ(window.pointer, MousePointer::Default);
    EXPECT_FALSE(installer.PassRunning());
}

}  // namespace
}  // namespace rv::test
