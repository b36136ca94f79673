// SPDX-License-Identifier: MIT
#include "core/find_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pass_fixture.h"

namespace rv::test {
namespace {

TEST(SplitFileFromPath, CutsAfterTheLastColonSlashOrBackslash) {
    using Cases = std::vector<std::pair<std::string, std::string>>;
    for (const auto& [path, name] : Cases{{"    D:\\Add\\b.ukx", "b.ukx"},
                                          {"/a/Maps\\x:y.rv2", "y.rv2"},
                                          {"D:\\Add\\", ""},
                                          {" spaced.ukx", " spaced.ukx"}}) {
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
        {{"a.ukx"}, "ukx", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        TempFolder temp;
        for (const auto& file : c.files) {
            file.ends_with('/') ? temp.AddFolder(file) : temp.AddFile(file);
        }
        for (const std::string& root : {temp.Path(), temp.Path() + platform::kPathSeparator}) {
            RecordingWindow window;
            FoundList list(1);
            EXPECT_TRUE(FindFiles(root, c.pattern, list, window));
            EXPECT_EQ(list, Found(temp, c.entries)) << root;
        }
    }
}

}  // namespace
}  // namespace rv::test
