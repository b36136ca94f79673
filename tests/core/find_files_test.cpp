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
    struct Case {
        std::string path;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"    D:\\Add\\Sub\\b.ukx", "b.ukx"},
        {"    /home/u/Add/Sub/b.ukx", "b.ukx"},
        {"C:", ""},
        {"D:\\Add\\", ""},
        {"/home/u/", ""},
        {"b.ukx", "b.ukx"},
        {"a/b", "b"},
        {"/add/Maps\\DM-Foo.rv2", "DM-Foo.rv2"},
        {"/add/odd:name.u", "name.u"},
        {" spaced.ukx", " spaced.ukx"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RV2003_2004_Add_On_Installer::SplitFileFromPath(c.path), c.name)
            << "path '" << c.path << "'";
    }
}

TEST(NameMatches, ByUpperCasedEndingOnly) {
    struct Case {
        std::string name;
        std::string pattern;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"map.u", "U", true},          {"Menu", "U", true},       {"readme.mnu", "U", true},
        {"mapu.txt", "U", false},      {"xukx", "UKX", true},     {"Thing.Ukx", "UKX", true},
        {"ukx", "UKX", true},          {"kx", "UKX", false},      {"a.ukx", "ukx", false},
        {"a.ukx", "*", true},          {"notes.txt", "", true},   {"a.UKX ", "UKX", false},
        {"\xff\xfe.ukx", "UKX", true}, {"\xc3\xa4.u", "U", true}, {"a.ux", "UKX", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameMatches(c.name, c.pattern), c.matches)
            << "name '" << c.name << "' pattern '" << c.pattern << "'";
    }
}

// The entries a search gives, as paths below the folder ("Sub/b.ukx").
std::vector<std::string> Search(const TempFolder& temp, const std::string& folder,
                                const std::string& pattern, RecordingWindow& window) {
    FoundList list(1);
    EXPECT_TRUE(FindFiles(folder, pattern, list, window));
    EXPECT_FALSE(list.empty());
    EXPECT_EQ(list.back(), "") << "the list ends in one empty slot";
    std::vector<std::string> relative;
    const std::string prefix = std::string(kEntryIndent) + temp.Path() + platform::kPathSeparator;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        EXPECT_EQ(list[i].rfind(prefix, 0), 0U) << list[i];
        std::string rest = list[i].substr(prefix.size());
        for (char& c : rest) {
            c = c == platform::kPathSeparator ? '/' : c;
        }
        relative.push_back(rest);
    }
    return relative;
}

TEST(FindFiles, WalksDepthFirstAndListsMatchingFilesOnly) {
    struct Case {
        std::string title;
        std::vector<std::string> files;    // below the searched folder
        std::vector<std::string> folders;  // empty folders below it
        std::string pattern;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"sub-folder files stand where the sub-folder is met",
         {"a.ukx", "B/b.ukx", "c.ukx", "B/Deeper/d.UKX", "B/e.txt"},
         {},
         "UKX",
         {"a.ukx", "B/b.ukx", "B/Deeper/d.UKX", "c.ukx"}},
        {"a folder named like a match is walked, never listed",
         {"Maps.ukx/inner.ukx"},
         {"Empty.ukx"},
         "*",
         {"Maps.ukx/inner.ukx"}},
        {"star lists every file, hidden ones too, and no folder",
         {".hidden", "x.bin", "S/y"},
         {"S/T"},
         "*",
         {".hidden", "S/y", "x.bin"}},
        {"an ending without a dot matches",
         {"map.u", "Menu", "readme.mnu", "mapu.txt"},
         {},
         "U",
         {"map.u", "Menu", "readme.mnu"}},
        {"a lower-case pattern matches nothing", {"a.ukx"}, {}, "ukx", {}},
        {"an empty pattern matches everything", {"a.ukx", "b.txt"}, {}, "", {"a.ukx", "b.txt"}},
        {"the same name in two folders gives two entries",
         {"A/x.rv2", "B/x.rv2"},
         {},
         "RV2",
         {"A/x.rv2", "B/x.rv2"}},
        {"an empty folder gives nothing", {}, {"E"}, "*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder temp;
        for (const auto& file : c.files) {
            temp.AddFile(file);
        }
        for (const auto& folder : c.folders) {
            temp.AddFolder(folder);
        }
        RecordingWindow window;
        EXPECT_EQ(Search(temp, temp.Path(), c.pattern, window), c.entries);
        RecordingWindow again;
        EXPECT_EQ(Search(temp, temp.Path() + platform::kPathSeparator, c.pattern, again), c.entries)
            << "a trailing separator gives the same entries";
    }
}

TEST(FindFiles, KeepsEarlierEntriesAndIgnoresAMissingFolder) {
    TempFolder temp;
    temp.AddFile("a.ukx");
    RecordingWindow window;
    FoundList list = {"    earlier", ""};
    EXPECT_TRUE(FindFiles(temp.Path("missing"), "UKX", list, window));
    EXPECT_EQ(list, (FoundList{"    earlier", ""}));
    EXPECT_TRUE(FindFiles(temp.Path(), "UKX", list, window));
    EXPECT_EQ(list, (FoundList{"    earlier", "    " + temp.Path("a.ukx"), ""}));
}

TEST(FindFiles, YieldsOnEntryToEveryFolderAndStopsWhenTheWindowCloses) {
    TempFolder temp;
    for (const std::string file : {"A/1.u", "A/B/2.u", "C/3.u", "D/4.u", "5.u"}) {
        temp.AddFile(file);
    }
    RecordingWindow window;
    FoundList list(1);
    EXPECT_TRUE(FindFiles(temp.Path(), "U", list, window));
    EXPECT_EQ(window.yields, 5) << "the root, A, A/B, C and D";
    EXPECT_EQ(list.size(), 6U);

    // Closing at the yield on entry to A/B: what came before stays, nothing after it is listed.
    RecordingWindow closing;
    closing.on_yield = [&] { return closing.yields < 3; };
    FoundList stopped(1);
    EXPECT_FALSE(FindFiles(temp.Path(), "U", stopped, closing));
    EXPECT_EQ(closing.yields, 3);
    EXPECT_EQ(stopped, (FoundList{"    " + temp.Path("5.u"), "    " + temp.Path("A/1.u"), ""}));
}

}  // namespace
}  // namespace rv
