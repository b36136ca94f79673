#include "core/find_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/installer.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv::test {
namespace {

FoundList Entries(const TempFolder& temp, const std::vector<std::string>& files) {
    FoundList list;
    for (const auto& file : files) {
        list.push_back("    " + temp.Path(file));
    }
    list.emplace_back();
    return list;
}

TEST(SplitFileFromPath, CutsAfterTheLastColonSlashOrBackslash) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"    D:\\Add\\Sub\\b.ukx", "b.ukx"},
        {"/add/Maps\\DM-Foo.rv2", "DM-Foo.rv2"},
        {"/add/odd:name.u", "name.u"},
        {"D:\\Add\\", ""},
        {"C:", ""},
        {" spaced.ukx", " spaced.ukx"},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(RV2003_2004_Add_On_Installer::SplitFileFromPath(path), name) << path;
    }
}

// Depth first in listing order; folders are walked, never listed; the upper-cased name's ending
// is compared with the pattern, dot or not.
TEST(FindFiles, WalksDepthFirstAndListsMatchingFilesOnly) {
    struct Case {
        std::vector<std::string> files;  // a name ending in "/" is an empty folder
        std::string pattern;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {{"c.ukx", "B/Deeper/d.UKX", "B/e.txt", "B/c.ukx", "a.ukx", "B/b.ukx", "Maps.ukx/in.ukx",
          "Empty.ukx/", "Bukx", "kx", "a.UKXx"},
         "UKX",
         {"a.ukx", "B/b.ukx", "B/c.ukx", "B/Deeper/d.UKX", "Bukx", "c.ukx", "Maps.ukx/in.ukx"}},
        {{".hidden", "x.bin", "S/y", "S/T/"}, "*", {".hidden", "S/y", "x.bin"}},
        {{"a.ukx"}, "ukx", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        TempFolder temp;
        for (const auto& file : c.files) {
            temp.AddFile(file);
        }
        for (const std::string& root : {temp.Path(), temp.Path() + platform::kPathSeparator}) {
            RecordingWindow window;
            FoundList list(1);
            EXPECT_TRUE(FindFiles(root, c.pattern, list, window));
            EXPECT_EQ(list, Entries(temp, c.entries)) << root;
        }
    }
}

TEST(FindFiles, YieldsOnEntryToEveryFolderAndStopsWhenTheWindowCloses) {
    TempFolder temp;
    for (const char* file : {"A/1.u", "A/B/2.u", "C/3.u", "D/4.u", "5.u"}) {
        temp.AddFile(file);
    }
    RecordingWindow window;
    FoundList list = {"    earlier", ""};
    EXPECT_TRUE(FindFiles(temp.Path("missing"), "U", list, window));
    EXPECT_EQ(list, (FoundList{"    earlier", ""}));
    EXPECT_TRUE(FindFiles(temp.Path(), "U", list, window));
    EXPECT_EQ(window.yields, 6) << "the missing folder, then the root, A, A/B, C and D";
    EXPECT_EQ(list.size(), 7U);

    // Closing at the yield on entry to A/B keeps what came before and lists nothing after it.
    window.on_yield = [&] { return window.yields < 9; };
    FoundList stopped(1);
    EXPECT_FALSE(FindFiles(temp.Path(), "U", stopped, window));
    EXPECT_EQ(stopped, Entries(temp, {"5.u", "A/1.u"}));
}

}  // namespace
}  // namespace rv::test
