#include "core/find_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/installer.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv {
namespace {

using test::RecordingWindow;
using test::TempFolder;

TEST(SplitFileFromPath, CutsAfterTheLastColonSlashOrBackslash) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"    D:\\Add\\Sub\\b.ukx", "b.ukx"},
        {"    /home/u/Add/b.ukx", "b.ukx"},
        {"C:", ""},
        {"D:\\Add\\", ""},
        {"a/b", "b"},
        {"b.ukx", "b.ukx"},
        {"/add/Maps\\DM-Foo.rv2", "DM-Foo.rv2"},
        {"/add/odd:name.u", "name.u"},
        {" spaced.ukx", " spaced.ukx"},
        {"", ""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(RV2003_2004_Add_On_Installer::SplitFileFromPath(path), name) << path;
    }
}

TEST(FindFiles, WalksDepthFirstAndListsMatchingFilesOnly) {
    struct Case {
        std::string title;
        std::vector<std::string> files;  // a name ending in "/" is an empty folder
        std::string pattern;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"a sub-folder's files stand where it is met",
         {"a.ukx", "B/b.ukx", "c.ukx", "B/Deeper/d.UKX", "B/e.txt"},
         "UKX",
         {"a.ukx", "B/b.ukx", "B/Deeper/d.UKX", "c.ukx"}},
        {"a folder named like a match is walked, never listed",
         {"Maps.ukx/inner.ukx", "Empty.ukx/"},
         "*",
         {"Maps.ukx/inner.ukx"}},
        {"star lists hidden files too",
         {".hidden", "x.bin", "S/y", "S/T/"},
         "*",
         {".hidden", "S/y", "x.bin"}},
        {"an ending without a dot matches", {"map.u", "Menu", "mapu.txt"}, "U", {"map.u", "Menu"}},
        {"a lower-case pattern matches nothing", {"a.ukx"}, "ukx", {}},
        {"the upper-cased name is compared", {"Thing.Ukx", "kx", "a.UKXx"}, "UKX", {"Thing.Ukx"}},
        {"the same name in two folders gives two entries",
         {"A/x.rv2", "B/x.rv2"},
         "RV2",
         {"A/x.rv2", "B/x.rv2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder temp;
        for (const auto& file : c.files) {
            file.ends_with("/") ? temp.AddFolder(file) : temp.AddFile(file);
        }
        FoundList expected;
        for (const auto& entry : c.entries) {
            expected.push_back("    " + temp.Path(entry));
        }
        expected.emplace_back();
        for (const std::string& root : {temp.Path(), temp.Path() + platform::kPathSeparator}) {
            RecordingWindow window;
            FoundList list(1);
            EXPECT_TRUE(FindFiles(root, c.pattern, list, window));
            EXPECT_EQ(list, expected) << "searching " << root;
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
    EXPECT_EQ(list, (FoundList{"    earlier", ""})) << "a missing folder adds nothing";
    EXPECT_TRUE(FindFiles(temp.Path(), "U", list, window));
    EXPECT_EQ(window.yields, 6) << "the missing folder, then the root, A, A/B, C and D";
    EXPECT_EQ(list.size(), 7U);

    // Closing at the yield on entry to A/B: what came before stays, nothing after it is listed.
    RecordingWindow closing;
    closing.on_yield = [&] { return closing.yields < 3; };
    FoundList stopped(1);
    EXPECT_FALSE(FindFiles(temp.Path(), "U", stopped, closing));
    EXPECT_EQ(stopped, (FoundList{"    " + temp.Path("5.u"), "    " + temp.Path("A/1.u"), ""}));
}

}  // namespace
}  // namespace rv
