// SPDX-License-Identifier: MIT
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/data_folder.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/wide_text_win.h"
#else
#include <cstdlib>

#include "platform/file_system_linux.h"
#endif

// The promises of the file-system layer that hold on every platform, checked on each, through
// every way the platform has to copy.
namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using Copy = std::function<CopyResult(const std::string&, const std::string&, const KeepCopying&,
                                      const ContentWatcher&)>;

#ifdef _WIN32
const std::vector<std::pair<std::string, Copy>> kCopyWays = {{"", CopyNewFile}};
const bool kFoldsCase = true;
// Wine, unlike Windows, shows a link to a file as the file itself, and one that leads nowhere not
// at all.
const bool kSeesFileLinks = false;
// Wine's CopyFileExW never calls its progress routine; Windows calls it after every chunk.
const bool kAsksBetweenChunks =
    GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") == nullptr;

// Runs a shell command in the folder on the system that hosts Wine: Wine's own calls make no
// links, but it shows the host's links as such. Wine gives no handle to wait on for a host
// program, so the command leaves its exit status in a file.
bool RunOnHost(const std::string& folder, const std::string& command) {
    std::wstring line = L"Z:\\bin\\sh -c \"(" + *WideFromUtf8(command) + L"); echo $? >.status\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       WideFromUtf8(folder)->c_str(), &startup, &process) == 0) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string status = folder + "\\.status";
    for (int waited = 0; ReadWhole(status).empty() && waited < 3000; ++waited) {
        Sleep(10);
    }
    const bool succeeded = ReadWhole(status) == "0\n";
    DeleteFileW(WideFromUtf8(status)->c_str());
    return succeeded;
}
#else
const std::vector<std::pair<std::string, Copy>> kCopyWays = {
    {"anonymous", std::bind_front(posix::CopyNewFileUsing, posix::Temporary::Anonymous)},
    {"named", std::bind_front(posix::CopyNewFileUsing, posix::Temporary::Named)}};
const bool kFoldsCase = false, kSeesFileLinks = true, kAsksBetweenChunks = true;

bool RunOnHost(const std::string& folder, const std::string& command) {
    return std::system(("cd '" + folder + "' && " + command).c_str()) == 0;
}
#endif

const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";
const std::string kCjkFolder = "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x8E\xAE";  // and one past BMP

// The names in a folder and in its real sub-folders, "/" between, so a left-over temporary shows.
Names Tree(const std::string& folder) {
    Names tree;
    for (const std::string& name : NamesIn(folder)) {
        tree.push_back(name);
        if (fs::is_directory(fs::symlink_status(NativePath(folder + kPathSeparator + name)))) {
            for (const std::string& inner : NamesIn(folder + kPathSeparator + name)) {
                tree.push_back(name + "/" + inner);
            }
        }
    }
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
    for (const std::string& folder :
         {temp.Path("Add"), temp.Path("Add") + kPathSeparator, temp.Path("Add/./")}) {
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

// Anything at a path exists and only folders list; a link is listed as one and leads to the real
// place of what it reaches. A folder deeper than the system can name cannot be listed, and says
// why.
TEST(PathExists, OnlyForSomethingRealAndListsOnlyFolders) {
    TempFolder temp;
    temp.AddFiles({"Maps/Arena.rv2", kCjkFolder + "/" + kCyrillicMap, "outside/o.u"});
    std::string half(250, 'd');  // a path the system takes; twice it is too long
    for (int i = 0; i < 8; ++i) {
        half += "/" + std::string(250, 'd');
    }
    ASSERT_TRUE(
        RunOnHost(temp.Path(),
                  "ln -s Maps to-in && ln -s outside to-out && ln -s "
                  "outside/o.u o.u && ln -s nowhere dangling && ln -s loop loop && mkdir -p deep/" +
                      half + " && cd deep/" + half + " && mkdir -p " + half));
    const std::string arena = "Maps/Arena.rv2", cyrillic = kCjkFolder + "/" + kCyrillicMap;
    // The path, whether something is there and lists as a folder, where it leads (empty: nowhere).
    const std::tuple<std::string, bool, bool, std::string> cases[] = {
        {arena, true, false, arena},
        {"maps/ARENA.rv2", kFoldsCase, false, kFoldsCase ? arena : ""},
        {"Maps/", true, true, "Maps"},
        {"Maps/./", true, true, "Maps"},
        {cyrillic, true, false, cyrillic},
        {"Maps/Other", false, false, ""},
        {"Maps/Arena.rv2/x", false, false, ""},
        {"Maps/*.rv2", false, false, ""},
        {"Maps/\xC3(", false, false, ""},
        {"to-in", true, true, "Maps"},
        {"to-out", true, true, "outside"},
        {"o.u", true, false, "outside/o.u"},
        {"dangling", kSeesFileLinks, false, ""},
        {"loop", kSeesFileLinks, false, ""},
        {"deep/" + half + "/" + half, false, false, ""},
    };
    for (const auto& [relative, exists, lists, leads_to] : cases) {
        std::string why;
        const std::string path = temp.Path(relative);
        EXPECT_EQ(PathExists(path), exists) << relative;
        EXPECT_EQ(ListFolder(path, &why).has_value(), lists) << relative;
        EXPECT_EQ(why.empty(), lists) << relative;
        EXPECT_EQ(RealPath(path), leads_to.empty() ? std::nullopt : RealPath(temp.Path(leads_to)))
            << relative;
    }
    Names listed;
    const FolderListing listing = ListFolder(temp.Path()).value();
    for (const FolderEntry& entry : listing.entries) {
        listed.push_back(entry.name + (entry.is_folder ? "/" : "") + (entry.is_link ? "@" : ""));
    }
    const Names expected =
        kSeesFileLinks
            ? Names{"dangling@", "deep/",   "loop@",    "Maps/",         "o.u@",
                    "outside/",  "to-in/@", "to-out/@", kCjkFolder + "/"}
            : Names{"deep/", "Maps/", "o.u", "outside/", "to-in/@", "to-out/@", kCjkFolder + "/"};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(ListFolder(temp.Path("to-in"))->id, ListFolder(temp.Path("Maps"))->id);
    const std::string root = temp.Path().substr(0, temp.Path().find(kPathSeparator) + 1);
    EXPECT_TRUE(PathExists(root) && ListFolder(root).has_value()) << root;
    EXPECT_FALSE(PathExists("") || ListFolder("").has_value());
    RunOnHost(temp.Path(), "rm -rf deep to-in to-out o.u dangling loop");
}

// Whatever the outcome, nothing but the copied file appears in the game folder and nothing there
// changes; links are followed on the add-on's side, never on the game's. The copy asks before
// and between chunks; a source changed for real at the second ask, or a stop there, leaves
// nothing, no unfinished temporary either.
TEST(CopyNewFile, CopiesWholeFilesOnlyWhereNothingIsAndLeavesNothingElse) {
    std::string big;  // a few chunks of any copy loop
    while (big.size() < 3'000'017) {
        big += std::to_string(big.size());
    }
    using enum CopyOutcome;
    using Change = std::function<bool(const std::string&)>;  // false: stop
    const struct {
        std::string source, installed, destination;  // installed: a file under Game beforehand
        CopyOutcome outcome;
        Change change = {};
    } cases[] = {
        {kCyrillicMap, "", "Maps/" + kCyrillicMap, Copied},
        {"empty.u", "", "Maps/empty.u", Copied},
        {"linked.u", "", "Maps/linked.u", Copied},
        {"elsewhere.u", "", "Maps/elsewhere.u", Copied},
        {kCyrillicMap, "Maps/" + kCyrillicMap, "Maps/" + kCyrillicMap, DestinationExists},
        {kCyrillicMap, "Maps/a.rv2/inside.txt", "Maps/a.rv2", DestinationExists},
        {kCyrillicMap, "", "System/dangling.u", DestinationExists},
        {kCyrillicMap, "", "System/linked.u", DestinationExists},
        {kCyrillicMap, "", "Music/a.rv2", DestinationFolderMissing},
        {kCyrillicMap, "Sounds", "Sounds/a.rv2", DestinationFolderMissing},
        {"gone.u", "", "Maps/a.rv2", SourceUnreadable},
        {kCyrillicMap, "", "Maps/a.rv2", SourceChanged,
         [](const std::string& s) {
             fs::resize_file(NativePath(s), 1 << 20);
             return true;
         }},
        {"elsewhere.u", "", "Maps/a.rv2", SourceChanged,
         [](const std::string& s) {
             return !!(std::ofstream(NativePath(s), std::ios::app) << "+");
         }},
        {kCyrillicMap, "", "Maps/a.rv2", SourceChanged,
         [](const std::string& s) {
             fs::last_write_time(NativePath(s), {});
             return true;
         }},
        {kCyrillicMap, "", "Maps/a.rv2", Stopped, [](const std::string&) { return false; }},
        {"elsewhere.u", "", "Maps/a.rv2", Stopped, [](const std::string&) { return false; }},
    };
    for (const auto& [way, copy] : kCopyWays) {
        for (const auto& item : cases) {
            SCOPED_TRACE(way + ": " + item.source + " -> " + item.destination);
            if ((!kSeesFileLinks && item.destination == "System/dangling.u") ||
                (!kAsksBetweenChunks && item.change)) {
                continue;
            }
            TempFolder temp;
            const std::string source = temp.Path("Add/" + item.source);
            const std::string destination = temp.Path("Game/" + item.destination);
            // On Linux, the in-kernel copy refuses a source on another file system.
            const std::string elsewhere =
                "/dev/shm/" + temp.Path().substr(temp.Path().find_last_of(kPathSeparator) + 1);
            temp.AddFolder("Game/Maps");
            temp.AddFile("keep.u", "keep");
            if (!item.installed.empty()) {
                temp.AddFile("Game/" + item.installed, "installed");
            }
            ASSERT_TRUE(RunOnHost(temp.Path(), "mkdir Add Game/System && cd Add && ln -s '" +
                                                   kCyrillicMap + "' linked.u && ln -s " +
                                                   elsewhere +
                                                   " elsewhere.u && cd "
                                                   "../Game/System && ln -s gone dangling.u && "
                                                   "ln -s ../../keep.u linked.u"));
            temp.AddFile("Add/" + kCyrillicMap, big);
            temp.AddFile("Add/elsewhere.u", big);
            temp.AddFile("Add/empty.u", "");
            fs::last_write_time(NativePath(temp.Path("Add/" + kCyrillicMap)),
                                fs::file_time_type::clock::now() - std::chrono::hours(9600));
            const Names before = Tree(temp.Path("Game"));
            const std::string content_before = ReadWhole(destination);
            int asked = 0;

            std::string seen;  // what a watcher was shown of the copy
            const CopyResult result = copy(
                source, destination,
                [&] { return ++asked != 2 || !item.change || item.change(source); },
                [&seen](std::span<const char> piece) { seen.append(piece.data(), piece.size()); });
            if (result.watched) {
                EXPECT_EQ(seen, ReadWhole(destination));
            }

            EXPECT_EQ(result.outcome, item.outcome) << result.reason;
            const bool copied = item.outcome == Copied;
            EXPECT_EQ(result.reason.empty(), copied) << result.reason;
            Names after = before;
            if (copied) {
                after.push_back(item.destination);
                std::sort(after.begin(), after.end());
            }
            EXPECT_EQ(Tree(temp.Path("Game")), after);
            EXPECT_EQ(ReadWhole(destination), copied ? ReadWhole(source) : content_before);
            EXPECT_EQ(ReadWhole(temp.Path("keep.u")), "keep");
            if (copied) {
                EXPECT_FALSE(fs::is_symlink(NativePath(destination)));
                EXPECT_EQ(fs::last_write_time(NativePath(destination)),
                          fs::last_write_time(NativePath(source)));
                EXPECT_GE(asked,
                          kAsksBetweenChunks && ReadWhole(source).size() > (2 << 20) ? 3 : 0);
            }
            RunOnHost(temp.Path(), "rm -rf Add Game " + elsewhere);
        }
    }
}

// A small file is written whole under its name or not at all: a file already there stays when
// asked to, and no temporary is left beside it either way; missing folders are made.
TEST(WriteFileSafely, GivesTheNameOnlyAsAskedAndLeavesNoTemporary) {
    const struct {
        std::string before;  // the content already at the name; empty: nothing there
        Existing existing;
        std::string after;  // the content at the name afterwards
        bool written;
    } cases[] = {
        {"", Existing::Keep, "new", true},
        {"old", Existing::Keep, "old", false},
        {"old", Existing::Replace, "new", true},
        {"", Existing::Replace, "new", true},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.before + (item.existing == Existing::Keep ? " kept" : " replaced"));
        TempFolder temp;
        const std::string folder = temp.Path("data/" + kCjkFolder);
        if (!item.before.empty()) {
            temp.AddFile("data/" + kCjkFolder + "/r.json", item.before);
        }
        const std::string problem = WriteFileSafely(folder, "r.json", "new", item.existing);
        EXPECT_EQ(problem.empty(), item.written) << problem;
        EXPECT_EQ(problem, item.written ? "" : "cannot write r.json: already exists");
        EXPECT_EQ(NamesIn(folder), Names{"r.json"});
        EXPECT_EQ(ReadWhole(folder + kPathSeparator + "r.json"), item.after);
    }
}

}  // namespace
}  // namespace rv::platform
