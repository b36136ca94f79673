#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pass_fixture.h"

namespace rv::test {
namespace {

using enum Category;

// Read, Exist and Ready counts of one category after a read pass.
struct Counts {
    int read = 0;
    int exist = 0;
    int ready = 0;
    friend bool operator==(const Counts&, const Counts&) = default;
};

class ReadPass : public PassTest {
protected:
    Counts CountsOf(Category category) const {
        const FileCounters& c = installer.Counters();
        return {c.Count(CounterKind::Read, category), c.Count(CounterKind::Exist, category),
                c.Count(CounterKind::Ready, category)};
    }
};

TEST_F(ReadPass, CountsChecksAndSumsUp) {
    struct Case {
        std::string title;
        std::vector<std::string> add_on;
        std::vector<std::string> in_game;
        std::map<Category, Counts> counts;  // categories not named count 0
        std::string status;
        bool write_enabled;
    };
    const std::vector<Case> cases = {
        {"one file present, one missing",
         {"Maps/DM-One.rv2", "Textures/One.utx"},
         {"Maps/DM-One.rv2"},
         {{Maps, {1, 1, 0}}, {Textures, {1, 0, 1}}},
         "1 File(s) are ready to write - 2 File(s) checked!",
         true},
        {"both present",
         {"Maps/DM-One.rv2", "Textures/One.utx"},
         {"Maps/DM-One.rv2", "Textures/One.utx"},
         {{Maps, {1, 1, 0}}, {Textures, {1, 1, 0}}},
         "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!",
         false},
        {"one of each of the thirteen patterns",
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
         "12 File(s) are ready to write - 13 File(s) checked!",
         true},
        {"letter case and endings without a dot; other files count nowhere",
         {"Thing.UKX", "A/thing.ukx", "B/Thing.Ukx", "oldukx", "readme.mnu", "notes.txt",
          "pack.zip"},
         {"Animations/thing.ukx"},
         {{Animations, {4, 1, 3}}, {System, {1, 0, 1}}},
         "4 File(s) are ready to write - 5 File(s) checked!",
         true},
        {"the add-on's own folders play no part; the same name twice counts twice",
         {"Extra/Deep/x.uax", "Other/x.uax"},
         {"Sounds/x.uax"},
         {{Sounds, {2, 2, 0}}},
         "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!",
         false},
        {"a leading space is not part of the name checked",
         {" spaced.ukx"},
         {"Animations/spaced.ukx"},
         {{Animations, {1, 1, 0}}},
         "No Data to write - 1 File(s) loaded - 1 File(s) already exisit!",
         false},
        {"a folder in the game's sub-folder counts as present",
         {"Maps/Arena.rv2"},
         {"Maps/Arena.rv2/inside"},
         {{Maps, {1, 1, 0}}},
         "No Data to write - 1 File(s) loaded - 1 File(s) already exisit!",
         false},
        {"nothing to find",
         {"readme.txt"},
         {},
         {},
         "No Data to write - 0 File(s) loaded - 0 File(s) already exisit!",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder add;
        TempFolder game;
        for (const CategoryInfo& info : kCategories) {
            game.AddFolder(std::string(info.sub_folder));
        }
        for (const auto& file : c.add_on) {
            add.AddFile(file);
        }
        for (const auto& file : c.in_game) {
            game.AddFile(file);
        }
        installer.AddOnFolder = add.Path();
        installer.GameFolder = game.Path();
        window.SetEnabled({"cmd_write"}, !c.write_enabled);

        installer.cmd_read_Click();

        int read = 0, exist = 0, ready = 0;
        for (const CategoryInfo& info : kCategories) {
            const auto it = c.counts.find(info.category);
            const Counts expected = it == c.counts.end() ? Counts{} : it->second;
            EXPECT_EQ(CountsOf(info.category), expected) << info.sub_folder;
            EXPECT_EQ(Caption(info.category, CounterKind::Read), std::to_string(expected.read));
            EXPECT_EQ(Caption(info.category, CounterKind::Exist), std::to_string(expected.exist));
            EXPECT_EQ(Caption(info.category, CounterKind::Ready), std::to_string(expected.ready));
            EXPECT_EQ(Caption(info.category, CounterKind::Written), "0");
            read += expected.read;
            exist += expected.exist;
            ready += expected.ready;
        }
        EXPECT_EQ(installer.Counters().Total(CounterKind::Read), read);
        EXPECT_EQ(installer.Counters().Total(CounterKind::Exist), exist);
        EXPECT_EQ(installer.Counters().Total(CounterKind::Ready), ready);
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(window.Enabled("cmd_write"), c.write_enabled);
        EXPECT_EQ(window.pointer, MousePointer::Default);
        EXPECT_FALSE(installer.PassRunning());
    }
}

TEST_F(ReadPass, ShowsEachNameAndChecksItsGamePath) {
    AddOn("Pack/Maps/DM-Two.rv2");
    AddOn(" lead.utx");
    installer.cmd_read_Click();
    EXPECT_EQ(StatusLines(),
              (std::vector<std::string>{"Reading: DM-Two.rv2", "Reading: lead.utx",
                                        "2 File(s) are ready to write - 2 File(s) checked!"}));
    EXPECT_EQ(installer.TargetPath, temp.Path("game") + SubFolderText(Textures) + "lead.utx")
        << "the game folder, the sub-folder text and the bare name";
    EXPECT_FALSE(installer.TargetExists);
}

TEST_F(ReadPass, ResetsEveryCounterLabelInGroupOrderFirst) {
    installer.cmd_read_Click();
    std::vector<std::string> expected;
    for (int group : {0, 2, 1, 3}) {
        for (const CategoryInfo& info : kCategories) {
            expected.push_back("caption " + std::string(info.counter_label) + "(" +
                               std::to_string(group) + ") = 0");
        }
    }
    const auto captions = window.LogLines("caption ");
    ASSERT_GE(captions.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.begin() + 28), expected);
}

TEST_F(ReadPass, BusyPointerAndYieldsAroundEachOfTheThirteenSearches) {
    AddOn("Sub/a.ukx");
    installer.cmd_read_Click();
    std::vector<std::string> expected;
    for (std::size_t row = 0; row < kRowCount; ++row) {
        // The search yields once for the add-on folder and once for Sub.
        expected.insert(expected.end(),
                        {"pointer 11", "yield", "yield", "yield", "pointer 0", "yield"});
    }
    std::vector<std::string> actual;
    for (const auto& line : window.log) {
        if (line == "yield" || line.rfind("pointer ", 0) == 0) {
            actual.push_back(line);
        }
    }
    EXPECT_EQ(actual, expected);
}

TEST_F(ReadPass, RepeatsTheSameResultAndClearsWhatAWriteLeft) {
    AddOn("a.ukx");
    AddOn("b.ogg");
    InGame("Music/b.ogg");
    installer.cmd_read_Click();
    installer.cmd_write_Click();
    ASSERT_EQ(Caption(Animations, CounterKind::Written), "1");
    installer.cmd_read_Click();
    const std::string first = Status();
    EXPECT_EQ(first, "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!");
    EXPECT_EQ(Caption(Animations, CounterKind::Written), "0");
    EXPECT_EQ(installer.Counters().Count(CounterKind::Written, Animations), 0);
    installer.cmd_read_Click();
    EXPECT_EQ(Status(), first);
    EXPECT_EQ(Caption(Animations, CounterKind::Read), "1");
}

TEST_F(ReadPass, RefusesAnEmptyAddOnFolderAndTreatsAVanishedOneAsEmpty) {
    AddOn("a.ukx");
    installer.cmd_read_Click();
    ASSERT_TRUE(window.Enabled("cmd_write"));
    window.log.clear();
    window.yields = 0;

    installer.AddOnFolder.clear();
    installer.cmd_read_Click();
    EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Please open your Add-On Folder first!"}));
    EXPECT_EQ(window.yields, 0) << "no walk at all";
    EXPECT_EQ(Caption(Animations, CounterKind::Read), "1") << "counters are left as they were";
    EXPECT_TRUE(window.Enabled("cmd_write")) << "Write is left as it was";

    installer.AddOnFolder = temp.Path("gone");
    installer.cmd_read_Click();
    EXPECT_EQ(Status(), "No Data to write - 0 File(s) loaded - 0 File(s) already exisit!");
    EXPECT_FALSE(window.Enabled("cmd_write"));
}

TEST_F(ReadPass, ClicksWhileItYieldsAreRefused) {
    AddOn("a.ukx");
    AddOn("b.u");
    int refused_presses = 0;
    window.on_yield = [&] {
        EXPECT_TRUE(installer.PassRunning());
        installer.cmd_write_Click();
        installer.cmd_read_Click();
        ++refused_presses;
        return true;
    };
    installer.cmd_read_Click();
    EXPECT_GT(refused_presses, 13);
    EXPECT_FALSE(installer.PassRunning());
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path("game/Animations"))) << "Write did not run";
    EXPECT_TRUE(window.LogLines("caption lbl_status = Copying").empty());
    EXPECT_EQ(Status(), "2 File(s) are ready to write - 2 File(s) checked!");
    EXPECT_EQ(Caption(Animations, CounterKind::Read), "1") << "no second read counted in";
}

TEST_F(ReadPass, StopsAtOnceWhenTheWindowCloses) {
    AddOn("a.ukx");
    AddOn("b.rv2");
    // Rows 1 and 2 each yield three times; the window closes at the first yield of row 2.
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
