#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "core/find_files.h"
#include "core/installer.h"
#include "platform/file_system.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv::platform {
namespace {

using namespace rv::test;

// The standard library reads narrow paths in the ANSI code page on Windows; the platform layer
// takes UTF-8, and so do these, so non-ANSI names reach the disk intact.
std::filesystem::path Native(const std::string& utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

void WriteUtf8(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(Native(path).parent_path());
    std::ofstream(Native(path), std::ios::binary) << content;
}

const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";
const std::string kCjkFolder = "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x8E\xAE";  // and one past BMP

// A folder's entries as "name" for files and "name\" for folders, in listing order.
std::vector<std::string> Shown(const FolderListing& listing) {
    std::vector<std::string> shown;
    for (const FolderEntry& entry : listing.entries) {
        shown.push_back(entry.name + (entry.is_folder ? "\\" : ""));
    }
    return shown;
}

// Everything below a folder, relative to it and sorted, so a left-over temporary shows.
std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> tree;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        tree.push_back(item.path().lexically_relative(folder).string());
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

TEST(ListFolderOnWindows, ListsEveryEntryInFoldedOrderHoweverTheFolderIsWritten) {
    TempFolder temp;
    // "_" sorts after the letters once folded to upper case, as NTFS orders names.
    const std::vector<std::string> expected = {
        ".hidden.u", "10",     "9",  "alpha",      "Beta\\",
        "gamma2\\",  "Gamma3", "_x", kCyrillicMap, kCjkFolder + "\\"};
    for (auto name = expected.rbegin(); name != expected.rend(); ++name) {  // against disk order
        WriteUtf8(temp.Path("Add/") + *name + (name->ends_with('\\') ? "x" : ""), "x");
    }
    SetFileAttributesA(temp.Path("Add/.hidden.u").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::optional<FolderListing> plain = ListFolder(temp.Path("Add"));
    ASSERT_TRUE(plain.has_value());
    for (const std::string& folder :
         {temp.Path("Add"), temp.Path("Add") + "\\", temp.Path() + "/Add/", temp.Path() + "\\aDD",
          temp.Path() + "\\.\\Add"}) {
        SCOPED_TRACE(folder);
        const std::optional<FolderListing> listing = ListFolder(folder);
        ASSERT_TRUE(listing.has_value());
        EXPECT_EQ(Shown(*listing), expected);
        EXPECT_EQ(listing->id, plain->id);
    }
    EXPECT_NE(ListFolder(temp.Path("Add/Beta"))->id, plain->id);
}

TEST(PathsOnWindows, ExistAndListOnlyWhenTheyNameSomethingReal) {
    TempFolder temp;
    temp.AddFile("Maps/Arena.rv2");
    WriteUtf8(temp.Path(kCjkFolder + "/" + kCyrillicMap), "y");
    const struct {
        const char* what;
        std::string path;
        bool exists;
        bool lists;
    } cases[] = {
        {"file", temp.Path("Maps/Arena.rv2"), true, false},
        {"folder with trailing backslash", temp.Path("Maps") + "\\", true, true},
        {"other letter case, as Windows matches names", temp.Path("maps/ARENA.rv2"), true, false},
        {"non-ANSI names", temp.Path(kCjkFolder + "/" + kCyrillicMap), true, false},
        {"drive root", temp.Path().substr(0, 3), true, true},
        {"missing", temp.Path("Maps/Other"), false, false},
        {"below a file", temp.Path("Maps/Arena.rv2/x"), false, false},
        {"wildcard that would match the file", temp.Path("Maps/*.rv2"), false, false},
        {"empty text, which would be the current drive", "", false, false},
        {"bytes that are not UTF-8", temp.Path("Maps/\xC3("), false, false},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        EXPECT_EQ(PathExists(item.path), item.exists);
        EXPECT_EQ(ListFolder(item.path).has_value(), item.lists);
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
        SCOPED_TRACE(spelling);
        const std::optional<FolderListing> listing = ListFolder(spelling);
        ASSERT_TRUE(listing.has_value());
        EXPECT_EQ(Shown(*listing), (std::vector<std::string>{"Arena.rv2", "Maps\\"}));
        EXPECT_TRUE(PathExists(spelling + "\\Arena.rv2"));
        EXPECT_FALSE(PathExists(spelling + "\\Maps\\Arena.rv2"));
    }
    const CopyResult result = CopyNewFile(slashes + "/Arena.rv2", folder + "\\Maps\\Arena.rv2");
    EXPECT_EQ(result.outcome, CopyOutcome::Copied) << result.reason;
    EXPECT_EQ(ReadWhole(folder + "\\Maps\\Arena.rv2"), "arena");
    EXPECT_EQ(CopyNewFile(folder + "\\Arena.rv2", folder + "\\Maps\\Arena.rv2").outcome,
              CopyOutcome::DestinationExists);
}

enum class Hold { None, ReadOnly, Locked, Gone };

TEST(CopyNewFileOnWindows, CopiesWholeFilesOnlyWhereNothingIsAndLeavesNoTemporary) {
    std::string big;  // more than one buffer of any copy loop
    while (big.size() < 3'000'017) {
        big += std::to_string(big.size());
    }
    const struct {
        const char* what;
        std::string installed;  // a file under Game holding "installed" before the copy
        std::string destination;
        Hold hold;
        CopyOutcome outcome;
        const char* reason;  // a part of it; empty exactly when copied
    } cases[] = {
        {"into an empty sub-folder", "", "Maps/Arena.rv2", Hold::None, CopyOutcome::Copied, ""},
        {"onto an installed file", "Maps/Arena.rv2", "Maps/Arena.rv2", Hold::None,
         CopyOutcome::DestinationExists, "untouched"},
        {"from a read-only source, whose temporary is read-only too", "Maps/Arena.rv2",
         "Maps/Arena.rv2", Hold::ReadOnly, CopyOutcome::DestinationExists, "untouched"},
        {"onto a folder", "Maps/Arena.rv2/inside.txt", "Maps/Arena.rv2", Hold::None,
         CopyOutcome::DestinationExists, "untouched"},
        {"into a missing sub-folder", "", "Music/Arena.rv2", Hold::None,
         CopyOutcome::DestinationFolderMissing, "does not exist"},
        {"into a sub-folder that is a file", "Sounds", "Sounds/Arena.rv2", Hold::None,
         CopyOutcome::DestinationFolderMissing, "is a file"},
        {"from a source that is gone", "", "Maps/Arena.rv2", Hold::Gone,
         CopyOutcome::SourceUnreadable, "gone"},
        {"from a source another program locked", "", "Maps/Arena.rv2", Hold::Locked,
         CopyOutcome::SourceUnreadable, "locked"},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        TempFolder temp;
        const std::string source = temp.Path("Add/Arena.rv2");
        const std::string destination = temp.Path("Game/" + item.destination);
        temp.AddFile("Add/Arena.rv2", big);
        std::filesystem::last_write_time(
            source, std::filesystem::file_time_type::clock::now() - std::chrono::hours(9600));
        temp.AddFolder("Game/Maps");
        if (!item.installed.empty()) {
            temp.AddFile("Game/" + item.installed, "installed");
        }
        const std::vector<std::string> game_before = Tree(temp.Path("Game"));
        const std::string before = ReadWhole(destination);
        if (item.hold == Hold::Gone) {
            std::filesystem::remove(source);
        }
        SetFileAttributesA(source.c_str(), item.hold == Hold::ReadOnly ? FILE_ATTRIBUTE_READONLY
                                                                       : FILE_ATTRIBUTE_NORMAL);
        const HANDLE held = item.hold != Hold::Locked
                                ? INVALID_HANDLE_VALUE
                                : CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);

        const CopyResult result = CopyNewFile(source, destination);

        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(result.outcome, item.outcome) << result.reason;
        EXPECT_EQ(result.reason.empty(), item.outcome == CopyOutcome::Copied) << result.reason;
        EXPECT_NE(result.reason.find(item.reason), std::string::npos) << result.reason;
        const bool copied = item.outcome == CopyOutcome::Copied;
        const std::vector<std::string> game_copied = {"Maps", "Maps\\Arena.rv2"};
        EXPECT_EQ(Tree(temp.Path("Game")), copied ? game_copied : game_before);
        EXPECT_EQ(ReadWhole(destination), copied ? big : before);
        if (copied) {
            EXPECT_EQ(std::filesystem::last_write_time(destination),
                      std::filesystem::last_write_time(source));
        }
    }
}

TEST(PassesOnWindows, WalkEitherSpellingOfTheFolderAndCopyNonAnsiNamesWithoutReplacing) {
    TempFolder temp;
    temp.AddFile("Add/a.ukx", "a");
    temp.AddFile("Add/Sub/b.ukx", "b");
    temp.AddFile("Add/Maps.ukx/d.rv2", "d");
    WriteUtf8(temp.Path("Add/" + kCjkFolder + "/" + kCyrillicMap), "map");
    const std::string entry = std::string(kEntryIndent) + temp.Path("Add") + "\\";
    const FoundList found = {entry + "a.ukx", entry + "Maps.ukx\\d.rv2", entry + "Sub\\b.ukx",
                             entry + kCjkFolder + "\\" + kCyrillicMap, ""};
    for (const std::string& folder : {temp.Path("Add"), temp.Path("Add") + "\\"}) {
        RecordingWindow window;
        FoundList list{""};
        ASSERT_TRUE(FindFiles(folder, "*", list, window));
        EXPECT_EQ(list, found) << folder;
    }

    for (const char* sub :
         {"Animations", "Maps", "Music", "Sounds", "StaticMeshes", "System", "Textures"}) {
        temp.AddFolder(std::string("Game/") + sub);
    }
    temp.AddFile("Game/Animations/A.UKX", "installed");
    RecordingWindow window;
    RV2003_2004_Add_On_Installer installer(window);
    installer.AddOnFolder = temp.Path("Add") + "\\";
    installer.GameFolder = temp.Path("Game");
    installer.cmd_read_Click();
    EXPECT_EQ(window.Caption({"lbl_status"}), "3 File(s) are ready to write - 4 File(s) checked!");
    installer.cmd_write_Click();

    EXPECT_EQ(window.Caption({"lbl_status"}), "Ready to play - 3 File(s) written!");
    EXPECT_EQ(NamesIn(temp.Path("Game/Animations")), (std::vector<std::string>{"A.UKX", "b.ukx"}));
    EXPECT_EQ(ReadWhole(temp.Path("Game/Animations/A.UKX")), "installed");
    std::ifstream map(Native(temp.Path("Game/Maps/" + kCyrillicMap)));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(map), {}), "map");
}

}  // namespace
}  // namespace rv::platform
