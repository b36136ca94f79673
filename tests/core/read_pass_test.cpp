#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pass_fixture.h"

namespace rv::test {
namespace {

using enum Category;

class ReadPass : public PassTest {};

TEST_F(ReadPass, CountsChecksAndSumsUp) {
    struct Case {
        std::string title;
        std::vector<std::string> add_on, in_game;
        std::map<Category, std::array<int, 3>> counts;  // Read, Exist, Ready; others all 0
        std::string status;
    };
    const std::vector<Case> cases = {
        {"one present, one missing",
         {"Maps/DM-One.rv2", "Textures/One.utx"},
         {"Maps/DM-One.rv2"},
         {{Maps, {1, 1, 0}}, {Textures, {1, 0, 1}}},
         "1 File(s) are ready to write - 2 File(s) checked!"},
        {"both present",
         {"Maps/DM-One.rv2", "One.utx"},
         {"Maps/DM-One.rv2", "Textures/One.utx"},
         {{Maps, {1, 1, 0}}, {Textures, {1, 1, 0}}},
         "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!"},
        {"one of each pattern",
         {"a.ukx", "a.rv2", "a.ogg", "a.uax", "a.usx", "a.u", "a.ini", "a.int", "a.ucl", "a.det",
          "a.upl", "a.dll", "a.utx"},
         {"System/a.ini"},
         {{Animations, {1, 0, 1}},
          {Maps, {1, 0, 1}},
          {Music, {1, 0, 1}},
          {Sounds, {1, 0, 1}},
          {StaticMeshes, {1, 0, 1}},
          {System, {7, 1, 6}},
          {Textures, {1, 0, 1}}},
         "12 File(s) are ready to write - 13 File(s) checked!"},
        {"letter case, endings without a dot, other files",
         {"Thing.UKX", "A/thing.ukx", "oldukx", "readme.mnu", "notes.txt"},
         {"Animations/oldukx"},
         {{Animations, {3, 1, 2}}, {System, {1, 0, 1}}},
         "3 File(s) are ready to write - 4 File(s) checked!"},
        {"same name twice, own folders play no part",
         {"Extra/Deep/x.uax", "Other/x.uax"},
         {"Sounds/x.uax"},
         {{Sounds, {2, 2, 0}}},
         "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!"},
        {"a leading space is not part of the name; a folder counts as present",
         {" spaced.ukx", "Arena.rv2"},
         {"Animations/spaced.ukx", "Maps/Arena.rv2/inside"},
         {{Animations, {1, 1, 0}}, {Maps, {1, 1, 0}}},
         "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!"},
        {"nothing to find",
         {"readme.txt"},
         {},
         {},
         "No Data to write - 0 File(s) loaded - 0 File(s) already exisit!"},
    };
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE(c.title);
        UseFolders("add" + std::to_string(n), "game" + std::to_string(n));
        for (const auto& file : c.add_on) {
            AddOn(file);
        }
        for (const auto& file : c.in_game) {
            InGame(file);
        }
        const bool ready = c.status.find("are ready") != std::string::npos;
        window.SetEnabled({"cmd_write"}, !ready);
        window.SetToolTip({"lbl_status"}, "reasons of an earlier write");

        installer.cmd_read_Click();

        std::array<int, 3> totals{};
        for (const CategoryInfo& info : kCategories) {
            const auto it = c.counts.find(info.category);
            const std::array<int, 3> want =
                it == c.counts.end() ? std::array<int, 3>{} : it->second;
            const CounterKind kinds[] = {CounterKind::Read, CounterKind::Exist, CounterKind::Ready};
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(installer.Counters().Count(kinds[k], info.category), want[k]);
                EXPECT_EQ(Caption(info.category, kinds[k]), std::to_string(want[k]));
                totals[k] += want[k];
            }
            EXPECT_EQ(Caption(info.category, CounterKind::Written), "0");
        }
        EXPECT_EQ(installer.Counters().Total(CounterKind::Read), totals[0]);
        EXPECT_EQ(installer.Counters().Total(CounterKind::Exist), totals[1]);
        EXPECT_EQ(installer.Counters().Total(CounterKind::Ready), totals[2]);
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(window.Enabled("cmd_write"), ready);
        EXPECT_EQ(ToolTip(), "") << "no stale failure reasons";
    }
}

TEST_F(ReadPass, ResetsThenSearchesEachRowBetweenBusyPointerAndYields) {
    AddOn("Pack/Maps/DM-Two.rv2");
    AddOn(" lead.utx");
    installer.cmd_read_Click();

    std::vector<std::string> resets, pointers;
    for (int group : {0, 2, 1, 3}) {
        for (const CategoryInfo& info : kCategories) {
            resets.push_back("caption " + std::string(info.counter_label) + "(" +
                             std::to_string(group) + ") = 0");
        }
    }
    for (std::size_t row = 0; row < kRowCount; ++row) {
        // One yield in the search for each of the add-on folder, Pack and Pack/Maps.
        pointers.insert(pointers.end(),
                        {"pointer 11", "yield", "yield", "yield", "yield", "pointer 0", "yield"});
    }
    const auto captions = window.LogLines("caption ");
    EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.begin() + 28), resets);
    auto log = window.log;
    std::erase_if(log, [](const std::string& l) { return l != "yield" && !l.starts_with("poi"); });
    EXPECT_EQ(log, pointers);
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{"Reading: DM-Two.rv2", "Reading: lead.utx",
                                        "2 File(s) are ready to write - 2 File(s) checked!"}));
    EXPECT_EQ(installer.TargetPath, GamePath("Textures/lead.utx"));
    EXPECT_FALSE(installer.TargetExists);
}

TEST_F(ReadPass, RepeatsTheSameResultAndClearsWhatAWriteLeft) {
    AddOn("a.ukx");
    installer.cmd_write_Click();
    ASSERT_EQ(Caption(Animations, CounterKind::Written), "1");
    for (int run = 0; run < 2; ++run) {
        installer.cmd_read_Click();
        EXPECT_EQ(Status(), "No Data to write - 1 File(s) loaded - 1 File(s) already exisit!");
        EXPECT_EQ(Caption(Animations, CounterKind::Written), "0");
        EXPECT_EQ(Caption(Animations, CounterKind::Read), "1");
    }
}

TEST_F(ReadPass, RefusesAnEmptyAddOnFolderAndFindsNothingInAVanishedOne) {
    AddOn("a.ukx");
    installer.cmd_read_Click();
    window.log.clear();
    installer.AddOnFolder.clear();
    installer.cmd_read_Click();
    EXPECT_EQ(
        window.log,
        (std::vector<std::string>{"caption lbl_status = Please open your Add-On Folder first!"}))
        << "no walk, counters and Write left as they were";

    installer.AddOnFolder = temp.Path("gone");
    installer.cmd_read_Click();
    EXPECT_EQ(Status(), "No Data to write - 0 File(s) loaded - 0 File(s) already exisit!");
    EXPECT_FALSE(window.Enabled("cmd_write"));
}

TEST_F(ReadPass, RefusesClicksWhileItYieldsAndStopsWhenTheWindowCloses) {
    AddOn("a.ukx");
    AddOn("b.rv2");
    window.on_yield = [&] {
        EXPECT_TRUE(installer.PassRunning());
        installer.cmd_write_Click();
        installer.cmd_read_Click();
        return true;
    };
    installer.cmd_read_Click();
    EXPECT_FALSE(installer.PassRunning());
    EXPECT_TRUE(std::filesystem::is_empty(GamePath("Animations"))) << "Write did not run";
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{"Reading: a.ukx", "Reading: b.rv2",
                                        "2 File(s) are ready to write - 2 File(s) checked!"}));

    // Rows 1 and 2 each yield three times; the window closes at the first yield of row 2.
    window.log.clear();
    window.yields = 0;
    window.on_yield = [&] { return window.yields < 4; };
    installer.cmd_read_Click();
    EXPECT_EQ(window.yields, 4);
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Reading: a.ukx"}));
    EXPECT_EQ(window.pointer, MousePointer::Default);
    EXPECT_TRUE(window.LogLines("enabled ").empty());
    EXPECT_FALSE(installer.PassRunning());
}

}  // namespace
}  // namespace rv::test
