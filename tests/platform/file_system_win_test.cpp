// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

// What only Windows has: read-only and locked files.
namespace rv::platform {
namespace {

using namespace rv::test;

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

}  // namespace
}  // namespace rv::platform
