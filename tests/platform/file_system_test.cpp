// SPDX-License-Identifier: MIT
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

// The promises of the file-system layer that hold on every platform, checked on each.
namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";
const std::string kCjkFolder = "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x8E\xAE";  // and one past BMP

// Everything below a folder, relative to it with "/" between parts and sorted, so a left-over
// temporary shows.
Names Tree(const std::string& folder) {
    Names tree;
    for (const auto& item : fs::recursive_directory_iterator(NativePath(folder))) {
        std::string part = TextOf(item.path().lexically_relative(NativePath(folder)));
        std::replace(part.begin(), part.end(), '\\', '/');
        tree.push_back(part);
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

TEST(ListFolder, ListsEveryEntryInFoldedOrderAndTellsFoldersFromFiles) {
    TempFolder temp;
    // "_" sorts after the letters once folded to upper case, as NTFS orders names.
    const Names expected = {".hidden.u", "10",     "9",  "alpha",      "Beta/",
                            "gamma2/",   "Gamma3", "_x", kCyrillicMap, kCjkFolder + "/"};
    for (auto name = expected.rbegin(); name != expected.rend(); ++name) {  // against disk order
        temp.AddFile("Add/" + *name + (name->ends_with('/') ? "x" : ""));
    }
    const FolderId id = ListFolder(temp.Path("Add")).value().id;
    for (const std::string& folder : {temp.Path("Add"), temp.Path("Add") + kPathSeparator}) {
        const std::optional<FolderListing> listing = ListFolder(folder);
        ASSERT_TRUE(listing.has_value()) << folder;
        Names names;
        for (const FolderEntry& entry : listing->entries) {
            names.push_back(entry.name + (entry.is_folder ? "/" : ""));
        }
        EXPECT_EQ(names, expected) << folder;
        EXPECT_EQ(listing->id, id);
    }
    EXPECT_NE(ListFolder(temp.Path("Add/Beta"))->id, id);
}

TEST(PathExists, OnlyForSomethingRealAndListsOnlyFolders) {
    TempFolder temp;
    temp.AddFile("Maps/Arena.rv2");
    temp.AddFile(kCjkFolder + "/" + kCyrillicMap);
    const struct {
        std::string path;
        bool exists, lists;
    } cases[] = {
        {temp.Path("Maps/Arena.rv2"), true, false},
        {temp.Path("Maps") + kPathSeparator, true, true},
        {temp.Path(kCjkFolder + "/" + kCyrillicMap), true, false},
        {temp.Path("Maps/Other"), false, false},
        {temp.Path("Maps/Arena.rv2/x"), false, false},
        {"", false, false},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(PathExists(item.path), item.exists) << item.path;
        EXPECT_EQ(ListFolder(item.path).has_value(), item.lists) << item.path;
    }
}

// Whatever the outcome, nothing but the copied file appears in the game folder and nothing there
// changes.
TEST(CopyNewFile, CopiesWholeFilesOnlyWhereNothingIsAndLeavesNothingElse) {
    std::string big;  // more than one buffer of any copy loop
    while (big.size() < 3'000'017) {
        big += std::to_string(big.size());
    }
    const struct {
        std::string installed;  // a file under Game holding "installed" before the copy
        std::string destination;
        bool source_gone;
        CopyOutcome outcome;
    } cases[] = {
        {"", "Maps/" + kCyrillicMap, false, CopyOutcome::Copied},
        {"Maps/" + kCyrillicMap, "Maps/" + kCyrillicMap, false, CopyOutcome::DestinationExists},
        {"Maps/a.rv2/inside.txt", "Maps/a.rv2", false, CopyOutcome::DestinationExists},
        {"", "Music/a.rv2", false, CopyOutcome::DestinationFolderMissing},
        {"Sounds", "Sounds/a.rv2", false, CopyOutcome::DestinationFolderMissing},
        {"", "Maps/a.rv2", true, CopyOutcome::SourceUnreadable},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.destination);
        TempFolder temp;
        const std::string source = temp.Path("Add/" + kCyrillicMap);
        const std::string destination = temp.Path("Game/" + item.destination);
        temp.AddFile("Add/" + kCyrillicMap, big);
        fs::last_write_time(NativePath(source),
                            fs::file_time_type::clock::now() - std::chrono::hours(9600));
        temp.AddFolder("Game/Maps");
        if (!item.installed.empty()) {
            temp.AddFile("Game/" + item.installed, "installed");
        }
        const Names before = Tree(temp.Path("Game"));
        const std::string content_before = ReadWhole(destination);
        if (item.source_gone) {
            fs::remove(NativePath(source));
        }

        const CopyResult result = CopyNewFile(source, destination);

        EXPECT_EQ(result.outcome, item.outcome) << result.reason;
        const bool copied = item.outcome == CopyOutcome::Copied;
        EXPECT_EQ(result.reason.empty(), copied) << result.reason;
        EXPECT_EQ(Tree(temp.Path("Game")),
                  copied ? (Names{"Maps", "Maps/" + kCyrillicMap}) : before);
        EXPECT_EQ(ReadWhole(destination), copied ? big : content_before);
        if (copied) {
            EXPECT_EQ(fs::last_write_time(NativePath(destination)),
                      fs::last_write_time(NativePath(source)));
        }
    }
}

}  // namespace
}  // namespace rv::platform
