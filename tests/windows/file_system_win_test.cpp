#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/file_system.h"
#include "windows/scratch_folder.h"

namespace rv::platform {
namespace {

using test::Native;
using test::ReadWholeFile;
using test::ScratchFolder;

// A folder's entries as "name" for files and "name\" for folders, in listing order.
std::vector<std::string> Shown(const FolderListing& listing) {
    std::vector<std::string> shown;
    for (const FolderEntry& entry : listing.entries) {
        shown.push_back(entry.name + (entry.is_folder ? "\\" : ""));
    }
    return shown;
}

// Everything below a folder, "\"-separated and relative to it, sorted; temporaries would show.
std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> tree;
    for (const auto& item : std::filesystem::recursive_directory_iterator(Native(folder))) {
        const std::u8string relative = item.path().lexically_relative(Native(folder)).u8string();
        tree.emplace_back(relative.begin(), relative.end());
    }
    std::sort(tree.begin(), tree.end());
    return tree;
}

// Non-ANSI names: Cyrillic, Greek, CJK and a letter outside the Basic Multilingual Plane.
const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";
const std::string kCjkFolder = "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x8E\xAE";

TEST(ListFolderOnWindows, GivesTheSameEntriesHoweverTheFolderIsWritten) {
    ScratchFolder scratch;
    scratch.WriteFile("Add/a.ukx", "a");
    scratch.MakeFolder("Add/Maps.ukx");
    scratch.WriteFile("Add/Maps.ukx/b.rv2", "b");
    scratch.MakeFolder("Add/" + kCjkFolder);
    scratch.WriteFile("Add/" + kCyrillicMap, "c");
    scratch.WriteFile("Add/.hidden.u", "d");
    SetFileAttributesW(Native(scratch.Under("Add/.hidden.u")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::vector<std::string> expected = {".hidden.u", "a.ukx", "Maps.ukx\\", kCyrillicMap,
                                               kCjkFolder + "\\"};

    const std::string add = scratch.Under("Add");
    const std::optional<FolderListing> plain = ListFolder(add);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(Shown(*plain), expected);

    const struct {
        const char* what;
        std::string folder;
    } spellings[] = {
        {"trailing backslash", add + "\\"},
        {"forward slashes", scratch.Path() + "/Add/"},
        {"other letter case", scratch.Path() + "\\aDD"},
        {"a dot component", scratch.Path() + "\\.\\Add"},
    };
    for (const auto& spelling : spellings) {
        SCOPED_TRACE(spelling.what);
        const std::optional<FolderListing> listing = ListFolder(spelling.folder);
        ASSERT_TRUE(listing.has_value());
        EXPECT_EQ(Shown(*listing), expected);
        EXPECT_EQ(listing->id, plain->id);
    }
}

TEST(ListFolderOnWindows, ListsByNameIgnoringCaseWhateverOrderTheDiskKeeps) {
    ScratchFolder scratch;
    // Folded to upper case, as NTFS orders: "_" comes after the letters.
    std::vector<std::string> expected = {"10", "9", "alpha", "Beta\\"};
    for (int i = 0; i < 20; ++i) {
        expected.push_back("f" + std::to_string(10 + i));
    }
    expected.insert(expected.end(), {"Gamma1", "gamma2\\", "Zeta", "_x"});
    for (auto name = expected.rbegin(); name != expected.rend(); ++name) {
        if (name->ends_with('\\')) {
            scratch.MakeFolder(name->substr(0, name->size() - 1));
        } else {
            scratch.WriteFile(*name, "");
        }
    }

    const std::optional<FolderListing> listing = ListFolder(scratch.Path());

    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(Shown(*listing), expected);
}

TEST(ListFolderOnWindows, TellsFoldersApartAndRefusesWhatIsNoFolder) {
    ScratchFolder scratch;
    scratch.MakeFolder("One");
    scratch.MakeFolder("Two");
    scratch.MakeFolder("Empty");
    scratch.WriteFile("file.rv2", "x");

    const std::optional<FolderListing> one = ListFolder(scratch.Under("One"));
    const std::optional<FolderListing> two = ListFolder(scratch.Under("Two"));
    const std::optional<FolderListing> empty = ListFolder(scratch.Under("Empty"));
    ASSERT_TRUE(one && two && empty);
    EXPECT_NE(one->id, two->id);
    EXPECT_NE(one->id, empty->id);
    EXPECT_TRUE(empty->entries.empty());

    const struct {
        const char* what;
        std::string folder;
    } refused[] = {
        {"missing folder", scratch.Under("Missing")},
        {"below a missing folder", scratch.Under("Missing/Deeper")},
        {"a file", scratch.Under("file.rv2")},
        {"empty text, which would be the drive's root", ""},
        {"bytes that are not UTF-8", scratch.Under("\xC3(")},
    };
    for (const auto& item : refused) {
        SCOPED_TRACE(item.what);
        EXPECT_FALSE(ListFolder(item.folder).has_value());
    }
}

TEST(LongPathsOnWindows, ListTestAndCopyPastTheOldLengthLimit) {
    ScratchFolder scratch;
    std::string deep = "Add";
    while (scratch.Under(deep).size() < 300) {
        deep += "/a-rather-long-folder-name";
    }
    scratch.WriteFile(deep + "/Arena.rv2", "arena");
    scratch.MakeFolder(deep + "/Maps");
    const std::string folder = scratch.Under(deep);
    std::string with_slashes = folder;
    std::replace(with_slashes.begin(), with_slashes.end(), '\\', '/');

    const struct {
        const char* what;
        std::string folder;
    } spellings[] = {
        {"backslashes", folder},
        {"forward slashes", with_slashes},
        {"a dot-dot component", folder + "\\Maps\\.."},
    };
    for (const auto& spelling : spellings) {
        SCOPED_TRACE(spelling.what);
        const std::optional<FolderListing> listing = ListFolder(spelling.folder);
        ASSERT_TRUE(listing.has_value());
        EXPECT_EQ(Shown(*listing), (std::vector<std::string>{"Arena.rv2", "Maps\\"}));
        EXPECT_TRUE(PathExists(spelling.folder + "\\Arena.rv2"));
        EXPECT_FALSE(PathExists(spelling.folder + "\\Maps\\Arena.rv2"));
    }
    const CopyResult result =
        CopyNewFile(with_slashes + "/Arena.rv2", folder + "\\Maps\\..\\Maps\\Arena.rv2");
    EXPECT_EQ(result.outcome, CopyOutcome::Copied) << result.reason;
    EXPECT_EQ(ReadWholeFile(folder + "\\Maps\\Arena.rv2"), "arena");
    EXPECT_EQ(CopyNewFile(folder + "\\Arena.rv2", folder + "\\Maps\\Arena.rv2").outcome,
              CopyOutcome::DestinationExists);
}

TEST(PathExistsOnWindows, IsTrueForFilesAndFoldersOnly) {
    ScratchFolder scratch;
    scratch.WriteFile("Maps/Arena.rv2", "x");
    scratch.MakeFolder(kCjkFolder);
    scratch.WriteFile(kCjkFolder + "/" + kCyrillicMap, "y");

    const struct {
        const char* what;
        std::string path;
        bool exists;
    } cases[] = {
        {"file", scratch.Under("Maps/Arena.rv2"), true},
        {"folder", scratch.Under("Maps"), true},
        {"folder with trailing backslash", scratch.Under("Maps") + "\\", true},
        {"file in other letter case, as Windows matches names", scratch.Under("maps/ARENA.rv2"),
         true},
        {"non-ANSI folder and file", scratch.Under(kCjkFolder + "/" + kCyrillicMap), true},
        {"drive root", scratch.Path().substr(0, 3), true},
        {"missing file", scratch.Under("Maps/Other.rv2"), false},
        {"below a missing folder", scratch.Under("Music/Arena.rv2"), false},
        {"below a file", scratch.Under("Maps/Arena.rv2/x"), false},
        {"wildcard that would match the file", scratch.Under("Maps/*.rv2"), false},
        {"empty text", "", false},
        {"bytes that are not UTF-8", scratch.Under("Maps/\xFF.rv2"), false},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        EXPECT_EQ(PathExists(item.path), item.exists);
    }
}

// One copy set-up: what is in the scratch folder before, and the copy made.
struct CopyCase {
    const char* what;
    std::function<void(const ScratchFolder&)> prepare;
    std::string source;
    std::string destination;
    CopyOutcome outcome;
    std::vector<std::string> game_tree_after;  // everything under Game afterwards
};

TEST(CopyNewFileOnWindows, CopiesOnlyWhereNothingIsAndLeavesNoTemporary) {
    const auto nothing = [](const ScratchFolder&) {};
    const std::vector<CopyCase> cases = {
        {"into an empty sub-folder",
         nothing,
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::Copied,
         {"Maps", "Maps\\Arena.rv2", "System"}},
        {"non-ANSI names on both sides",
         [](const ScratchFolder& s) {
             s.MakeFolder("Add/" + kCjkFolder);
             s.WriteFile("Add/" + kCjkFolder + "/" + kCyrillicMap, "arena");
         },
         "Add/" + kCjkFolder + "/" + kCyrillicMap,
         "Game/Maps/" + kCyrillicMap,
         CopyOutcome::Copied,
         {"Maps", "Maps\\" + kCyrillicMap, "System"}},
        {"onto an installed file",
         [](const ScratchFolder& s) { s.WriteFile("Game/Maps/Arena.rv2", "installed"); },
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::DestinationExists,
         {"Maps", "Maps\\Arena.rv2", "System"}},
        {"onto an installed file spelt in other letter case",
         [](const ScratchFolder& s) { s.WriteFile("Game/Maps/ARENA.RV2", "installed"); },
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::DestinationExists,
         {"Maps", "Maps\\ARENA.RV2", "System"}},
        {"onto a read-only installed file",
         [](const ScratchFolder& s) {
             s.WriteFile("Game/Maps/Arena.rv2", "installed");
             SetFileAttributesW(Native(s.Under("Game/Maps/Arena.rv2")).c_str(),
                                FILE_ATTRIBUTE_READONLY);
         },
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::DestinationExists,
         {"Maps", "Maps\\Arena.rv2", "System"}},
        {"from a read-only source onto an installed file",
         [](const ScratchFolder& s) {
             SetFileAttributesW(Native(s.Under("Add/Arena.rv2")).c_str(), FILE_ATTRIBUTE_READONLY);
             s.WriteFile("Game/Maps/Arena.rv2", "installed");
         },
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::DestinationExists,
         {"Maps", "Maps\\Arena.rv2", "System"}},
        {"onto a folder",
         [](const ScratchFolder& s) { s.WriteFile("Game/Maps/Arena.rv2/inside.txt", "kept"); },
         "Add/Arena.rv2",
         "Game/Maps/Arena.rv2",
         CopyOutcome::DestinationExists,
         {"Maps", "Maps\\Arena.rv2", "Maps\\Arena.rv2\\inside.txt", "System"}},
        {"into a missing sub-folder",
         nothing,
         "Add/Arena.rv2",
         "Game/Music/Arena.rv2",
         CopyOutcome::DestinationFolderMissing,
         {"Maps", "System"}},
        {"into a sub-folder that is a file",
         [](const ScratchFolder& s) { s.WriteFile("Game/Sounds", "not a folder"); },
         "Add/Arena.rv2",
         "Game/Sounds/Arena.rv2",
         CopyOutcome::DestinationFolderMissing,
         {"Maps", "Sounds", "System"}},
        {"from a source that is gone",
         nothing,
         "Add/Gone.rv2",
         "Game/Maps/Gone.rv2",
         CopyOutcome::SourceUnreadable,
         {"Maps", "System"}},
        {"from a source that is a folder",
         [](const ScratchFolder& s) { s.MakeFolder("Add/D.u"); },
         "Add/D.u",
         "Game/System/D.u",
         CopyOutcome::SourceUnreadable,
         {"Maps", "System"}},
    };

    for (const CopyCase& item : cases) {
        SCOPED_TRACE(item.what);
        ScratchFolder scratch;
        scratch.WriteFile("Add/Arena.rv2", "arena");
        scratch.MakeFolder("Game/Maps");
        scratch.MakeFolder("Game/System");
        item.prepare(scratch);
        const std::string source = scratch.Under(item.source);
        const std::string destination = scratch.Under(item.destination);
        const bool destination_was_file = std::filesystem::is_regular_file(Native(destination));
        const std::string before = destination_was_file ? ReadWholeFile(destination) : "";

        const CopyResult result = CopyNewFile(source, destination);

        EXPECT_EQ(result.outcome, item.outcome) << result.reason;
        EXPECT_EQ(result.reason.empty(), item.outcome == CopyOutcome::Copied) << result.reason;
        EXPECT_EQ(Tree(scratch.Under("Game")), item.game_tree_after);
        if (item.outcome == CopyOutcome::Copied) {
            EXPECT_EQ(ReadWholeFile(destination), ReadWholeFile(source));
        } else if (destination_was_file) {
            EXPECT_EQ(ReadWholeFile(destination), before);
        }
    }
}

TEST(CopyNewFileOnWindows, KeepsContentAndModificationTime) {
    ScratchFolder scratch;
    std::string content(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>((i * 7919) >> 3);
    }
    scratch.WriteFile("Add/Big.utx", content);
    scratch.MakeFolder("Game/Textures");
    const auto old_time =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(Native(scratch.Under("Add/Big.utx")), old_time);

    const CopyResult result =
        CopyNewFile(scratch.Under("Add/Big.utx"), scratch.Under("Game/Textures/Big.utx"));

    ASSERT_EQ(result.outcome, CopyOutcome::Copied) << result.reason;
    EXPECT_EQ(ReadWholeFile(scratch.Under("Game/Textures/Big.utx")), content);
    EXPECT_EQ(std::filesystem::last_write_time(Native(scratch.Under("Game/Textures/Big.utx"))),
              std::filesystem::last_write_time(Native(scratch.Under("Add/Big.utx"))));
}

TEST(CopyNewFileOnWindows, ReportsASourceAnotherProgramHoldsLocked) {
    ScratchFolder scratch;
    scratch.WriteFile("Add/Locked.u", "locked");
    scratch.MakeFolder("Game/System");
    const HANDLE holder = CreateFileW(Native(scratch.Under("Add/Locked.u")).c_str(), GENERIC_READ,
                                      0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const CopyResult result =
        CopyNewFile(scratch.Under("Add/Locked.u"), scratch.Under("Game/System/Locked.u"));
    CloseHandle(holder);

    EXPECT_EQ(result.outcome, CopyOutcome::SourceUnreadable);
    EXPECT_NE(result.reason.find("locked"), std::string::npos) << result.reason;
    EXPECT_TRUE(Tree(scratch.Under("Game")) == std::vector<std::string>{"System"});
}

}  // namespace
}  // namespace rv::platform
