// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/failure_list.h"
#include "pass_fixture.h"

namespace rv::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";

// Counts stop at the limit; a group's total is the sum of its own counts only, and saturates too.
TEST(FileCounters, SaturateAtTheirLimitAndSumEachGroupApart) {
    FileCounters counters(5);
    const std::vector<std::tuple<CounterKind, Category, int, std::int32_t>> increments = {
        {CounterKind::Read, Category::Maps, 7, 5},
        {CounterKind::Read, Category::System, 4, 4},
        {CounterKind::Exist, Category::Maps, 1, 1},
        {CounterKind::Ready, Category::Maps, 5, 5}};
    for (const auto& [kind, category, times, count] : increments) {
        for (int i = 0; i < times; ++i) {
            counters.Increment(kind, category);
        }
        EXPECT_EQ(counters.Count(kind, category), count);
    }
    EXPECT_EQ(counters.SumIntoTotal(CounterKind::Read), 5);
    EXPECT_EQ(counters.SumIntoTotal(CounterKind::Exist), 1);
    EXPECT_EQ(counters.SumIntoTotal(CounterKind::Written), 0);
}

TEST(ReadPass, CountsChecksAndSumsUpTheSameOnEveryRun) {
    // The files below the add-on and game folders; Read, Exist and Ready of Animations, Maps,
    // Music, Sounds, StaticMeshes, System, Textures; the status line.
    using Counts = std::array<std::array<int, 3>, kCategoryCount>;
    const std::vector<std::tuple<Lines, Counts, std::string>> cases = {
        // Letter case, endings without a dot, a folder that looks like a file, and other files.
        {{"add/Thing.UKX", "add/A.ukx/oldukx", "add/readme.mnu", "add/tx",
          "game/Animations/oldukx"},
         {{{2, 1, 1}, {}, {}, {}, {}, {1, 0, 1}, {}}},
         "2 File(s) are ready to write - 3 File(s) checked!"},
        // The same name twice; a leading space is no part of the name; a folder counts as there.
        {{"add/X/dup.uax", "add/Y/dup.uax", "add/ spaced.rv2", "game/Sounds/dup.uax",
          "game/Maps/spaced.rv2/inside"},
         {{{}, {1, 1, 0}, {}, {2, 2, 0}, {}, {}, {}}},
         "No Data to write - 3 File(s) loaded - 3 File(s) already exisit!"}};
    const CounterKind kinds[] = {CounterKind::Read, CounterKind::Exist, CounterKind::Ready};
    for (const auto& [files, counts, status] : cases) {
        SCOPED_TRACE(status);
        Pass p;
        p.temp.AddFiles(files);
        const bool ready = status.find("are ready") != std::string::npos;
        for (int run = 0; run < 2; ++run) {
            p.window.SetEnabled({"cmd_write"}, !ready);
            p.window.SetToolTip({"lbl_status"}, "reasons of an earlier write");
            p.installer.cmd_read_Click();
        }
        for (std::size_t i = 0; i < kCategoryCount; ++i) {
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_EQ(p.Caption(kCategories[i].category, kinds[k]),
                          std::to_string(counts[i][k]));
            }
        }
        EXPECT_EQ(p.Status(), status);
        EXPECT_EQ(p.window.Enabled("cmd_write"), ready);
        EXPECT_EQ(p.ToolTip(), "");
        EXPECT_EQ(p.window.pointer, MousePointer::Default);
    }
}

// The read leaves the comparisons of the files already there until after its status line: one
// of the same size and one of another size differ from the add-on's, one is the same. Whatever
// moves the status line on first (a folder set, a write) drops them, so no late line shows.
TEST(ReadPass, LeavesTheOtherVersionsToComparisonsThatWhatFollowsDrops) {
    const std::string line =
        "2 File(s) already there in another version would not be replaced (see Files of the last "
        "pass)";
    const std::vector<std::pair<std::string, std::function<void(Pass&)>>> cases = {
        {line, [](Pass&) {}},
        {"", [](Pass& p) { p.installer.SetGameFolder(p.installer.GetGameFolder()); }},
        {"", [](Pass& p) { p.installer.SetAddOnFolder(p.installer.GetAddOnFolder()); }},
        {"", [](Pass& p) { p.installer.cmd_write_Click(); }},
    };
    for (const auto& [expected, then] : cases) {
        Pass p;
        for (const auto& [name, game] : {std::pair("Same.rv2", "map"), std::pair("Size.rv2", "mop"),
                                         std::pair("Long.rv2", "map!")}) {
            p.temp.AddFile("add/" + std::string(name), "map");
            p.temp.AddFile("game/Maps/" + std::string(name), game);
        }
        p.installer.cmd_read_Click();
        EXPECT_EQ(p.ToolTip(), "");
        then(p);
        p.installer.FinishComparisons();
        EXPECT_EQ(p.ToolTip(), expected);
    }
}

// Copies in the write order, never over what is there, counts only what was copied and lists
// each failed copy with its reason. Names below the game folder match without regard to case, as
// Wine matches them: a "maps" folder takes the maps, a file there in other letters counts as
// there, and no case twin is written.
TEST(WritePass, CopiesWhatIsMissingAndListsWhatFailed) {
    Pass p;
    for (const std::string& file :
         Lines{"Pack/Maps/" + kCyrillicMap, "b.upl", "a.dll", "x.u", "menu", "Sys/y.int",
               "present.utx", "notes.txt", "A/Same.ogg", "B/same.ogg", "m1.usx", "m2.usx",
               " lead.utx"}) {
        p.temp.AddFile("add/" + file, file);
    }
    p.temp.AddFile("game/Textures/PRESENT.utx", "game's own");
    fs::rename(NativePath(p.Game("Maps")), NativePath(p.Game("maps")));
    fs::remove(p.Game("StaticMeshes"));
    p.installer.SetAddOnFolder(p.installer.GetAddOnFolder() +
                               platform::kPathSeparator);  // as a drive's root is named

    p.installer.cmd_write_Click();

    Lines expected;
    for (const std::string& file :
         Lines{"Pack/Maps/" + kCyrillicMap, "A/Same.ogg", "m1.usx", "m2.usx", "menu", "x.u",
               "Sys/y.int", "a.dll", "b.upl", " lead.utx"}) {
        expected.push_back("Copying: " + p.Add(file));
    }
    expected.push_back("Write incomplete - 8 File(s) written - 2 File(s) failed!");
    EXPECT_EQ(p.StatusLines(), expected);
    EXPECT_EQ(p.window.given["lbl_SystemCounter(1)"], (Lines{"1", "2", "3", "4", "5"}));
    EXPECT_FALSE(p.window.given.contains("lbl_StaticCounter(1)"));
    EXPECT_TRUE(p.window.enabled.empty());
    EXPECT_EQ(ReadWhole(p.Game("maps/" + kCyrillicMap)), "Pack/Maps/" + kCyrillicMap);
    EXPECT_EQ(ReadWhole(p.Game("Music/Same.ogg")), "A/Same.ogg") << "the first found wins";
    EXPECT_EQ(ReadWhole(p.Game("Textures/PRESENT.utx")), "game's own");
    EXPECT_EQ(NamesIn(p.Game("Textures")), (Lines{"PRESENT.utx", "lead.utx"}));
    EXPECT_EQ(NamesIn(p.Game("System")), (Lines{"a.dll", "b.upl", "menu", "x.u", "y.int"}));

    // Once the folder is there, a second pass copies just the two and keeps the other labels.
    p.temp.AddFolder("game/StaticMeshes");
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.Status(), "Ready to play - 2 File(s) written!");
    EXPECT_EQ(p.ToolTip(), "");
    EXPECT_EQ(p.Caption(Category::Music, CounterKind::Written), "1");
    // Read checks each file under the name Write gave it: nothing is left to write.
    p.installer.cmd_read_Click();
    EXPECT_EQ(p.Status(), "No Data to write - 12 File(s) loaded - 12 File(s) already exisit!");
}

// A name that something takes after the pass listed the game's sub-folder, before the copy, is
// already there, as if listed: left alone, and no failure.
TEST(WritePass, CountsANameTakenAfterTheListingAsAlreadyThere) {
    Pass p;
    p.temp.AddFile("add/a.u", "a");
    p.temp.AddFile("add/b.ini", "b");  // the next row, into the same sub-folder
    p.window.on_yield = [&] {
        if (p.Status().ends_with("a.u")) {
            p.temp.AddFile("game/System/b.ini", "taken");
        }
        return true;
    };
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.Status(), "Ready to play - 1 File(s) written!");
    EXPECT_EQ(p.ToolTip(), "");
    EXPECT_EQ(ReadWhole(p.Game("System/b.ini")), "taken");
    EXPECT_EQ(p.installer.LastPass().files.back().state, FileState::AlreadyThere);
}

// The write pass tells the window how far it has come every fiftieth of its files, and that it
// has ended, however it ends: the second time the window closes at the first yield after the
// count, before the next row.
TEST(WritePass, ReportsItsProgressEveryFiftiethAndItsEnd) {
    Pass p;
    p.temp.AddFile("add/a.ukx");
    for (int file = 0; file < 120; ++file) {
        p.temp.AddFile("add/f" + std::to_string(file) + ".u");
    }
    p.temp.AddFile("add/notes.txt");  // no add-on file: not counted
    std::vector<PassProgress> expected;
    for (std::size_t done = 0; done <= 120; done += 2) {
        expected.push_back({done, 121});
    }
    expected.insert(expected.end(), {{121, 121}, {}});
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.window.progress, expected);

    p.window.progress.clear();
    p.window.on_yield = [&] { return p.window.progress.empty(); };
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.window.progress, (std::vector<PassProgress>{{0, 121}, {}}));
}

// Windows cuts at ':' too (a name relative to a drive); on Linux ':' is part of the name.
TEST(SplitFileFromPath, CutsAfterTheLastSeparatorOfThePlatform) {
    const bool colon_cuts = platform::kPathSeparator == '\\';
    for (const auto& [path, name] :
         {std::pair{"    D:\\Add\\b.ukx", "b.ukx"},
          {"/a/Maps\\x:y.rv2", colon_cuts ? "y.rv2" : "x:y.rv2"},
          {"DM-Arena:Night.rv2", colon_cuts ? "Night.rv2" : "DM-Arena:Night.rv2"},
          {"D:\\Add\\", ""},
          {" spaced.ukx", " spaced.ukx"}}) {
        EXPECT_EQ(RV2003_2004_Add_On_Installer::SplitFileFromPath(path), name) << path;
    }
}

TEST(FailureList, ShowsTheFirstTwentyLinesThenHowManyMore) {
    for (const auto& [added, tail] :
         {std::pair{1, ""}, {20, ""}, {21, "\n... and 1 more"}, {100000, "\n... and 99980 more"}}) {
        FailureList failures;
        std::string first = "f0";
        for (int i = 0; i < added; ++i) {
            failures.Add("f" + std::to_string(i));
            first += i > 0 && i < 20 ? "\nf" + std::to_string(i) : "";
        }
        EXPECT_EQ(failures.ToolTip(), first + tail) << added;
    }
}

TEST(Passes, RefuseMissingFolders) {
    Pass p;
    p.temp.AddFile("add/a.ukx");
    const std::string add = p.Add(""), game = p.Game("");
    for (const auto& [writing, add_on, game_folder, status] :
         {std::tuple{false, std::string(), game, "Please open your Add-On Folder first!"},
          {true, std::string(), game, "Please open your Add-On Folder first!"},
          {true, add, std::string(), "Please open your Game Folder first!"}}) {
        p.installer.SetAddOnFolder(add_on);
        p.installer.SetGameFolder(game_folder);
        p.window.given.clear();
        writing ? p.installer.cmd_write_Click() : p.installer.cmd_read_Click();
        EXPECT_EQ(p.window.given, (std::map<std::string, Lines>{{"lbl_status", {status}}}));
        EXPECT_TRUE(p.window.enabled.empty() && p.window.tooltips.empty());
    }
    p.installer.cmd_read_Click();
    EXPECT_EQ(p.Status(), "1 File(s) are ready to write - 1 File(s) checked!") << "no game folder";
    p.installer.SetAddOnFolder(p.temp.Path("gone"));
    p.installer.cmd_read_Click();
    EXPECT_EQ(p.Status(), "No Data to write - 0 File(s) loaded - 0 File(s) already exisit!");
}

}  // namespace
}  // namespace rv::test
