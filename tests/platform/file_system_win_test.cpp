// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

// What only Windows has: names matched without regard to case, drive roots, wildcards, read-only
// and locked files, long paths.
namespace rv::platform {
namespace {

using namespace rv::test;

TEST(PathsOnWindows, ListAndExistHoweverThePathIsSpelledButNeverByWildcard) {
    TempFolder temp;
    temp.AddFile("Add/Maps/Arena.rv2");
    const FolderId id = ListFolder(temp.Path("Add")).value().id;
    for (const std::string& folder :
         {temp.Path() + "/Add/", temp.Path() + "\\aDD", temp.Path() + "\\.\\Add"}) {
        const std::optional<FolderListing> listing = ListFolder(folder);
        ASSERT_TRUE(listing.has_value()) << folder;
        EXPECT_EQ(listing->id, id) << folder;
        EXPECT_EQ(listing->entries.size(), 1U) << folder;
    }
    const struct {
        std::string path;
        bool exists, lists;
    } cases[] = {
        {temp.Path("add/maps/ARENA.rv2"), true, false},
        {temp.Path().substr(0, 3), true, true},
        {temp.Path("Add/Maps/*.rv2"), false, false},
        {temp.Path("Add/Maps/\xC3("), false, false},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(PathExists(item.path), item.exists) << item.path;
        EXPECT_EQ(ListFolder(item.path).has_value(), item.lists) << item.path;
    }
}

// A read-only source makes a read-only temporary, which must still be removed when the rename
// finds the destination taken.
TEST(CopyNewFileOnWindows, LeavesNoReadOnlyTemporaryAndRefusesALockedSource) {
    for (const bool locked : {false, true}) {
        TempFolder temp;
        const std::string source = temp.Path("Add/Arena.rv2");
        temp.AddFile("Add/Arena.rv2", "arena");
        temp.AddFile("Game/Maps/Arena.rv2", "installed");
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY);
        const HANDLE held = locked ? CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                   : INVALID_HANDLE_VALUE;
        const CopyResult result = CopyNewFile(source, temp.Path("Game/Maps/Arena.rv2"));
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(result.outcome,
                  locked ? CopyOutcome::SourceUnreadable : CopyOutcome::DestinationExists);
        EXPECT_EQ(result.reason.find("locked") != std::string::npos, locked) << result.reason;
        EXPECT_EQ(NamesIn(temp.Path("Game/Maps")), std::vector<std::string>{"Arena.rv2"});
        EXPECT_EQ(ReadWhole(temp.Path("Game/Maps/Arena.rv2")), "installed");
    }
}

// Disabled: under Wine this test hangs in about two runs of three, before its first check, and Wine
// has no 260-character limit that it could prove anything against. To be run on real Windows.
TEST(LongPathsOnWindows, DISABLED_ListTestAndCopyPastTheOldLengthLimit) {
    TempFolder temp;
    std::string folder = temp.Path("Add");
    while (folder.size() < 300) {
        folder += "\\a-rather-long-folder-name";
    }
    temp.AddFile(folder.substr(temp.Path().size() + 1) + "\\Arena.rv2", "arena");
    temp.AddFolder(folder.substr(temp.Path().size() + 1) + "\\Maps");
    std::string slashes = folder;
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    for (const std::string& spelling : {folder, slashes, folder + "\\Maps\\.."}) {
        EXPECT_EQ(ListFolder(spelling).value().entries.size(), 2U) << spelling;
        EXPECT_TRUE(PathExists(spelling + "\\Arena.rv2")) << spelling;
    }
    EXPECT_EQ(CopyNewFile(slashes + "/Arena.rv2", folder + "\\Maps\\Arena.rv2").outcome,
              CopyOutcome::Copied);
    EXPECT_EQ(ReadWhole(folder + "\\Maps\\Arena.rv2"), "arena");
}

}  // namespace
}  // namespace rv::platform
