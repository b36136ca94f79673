#include "platform/file_system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, bool>>;  // name, is_folder

Entries Listed(const std::string& folder) {
    Entries entries;
    const FolderListing listing = ListFolder(folder).value();
    for (const FolderEntry& entry : listing.entries) {
        entries.emplace_back(entry.name, entry.is_folder);
    }
    return entries;
}

TEST(ListFolder, SortsCaseInsensitivelyThenBytewiseAndFollowsLinksToFolders) {
    TempFolder sorted;
    for (const char* name : {"b", "A", "a", "B", "_x", "z2", "Z10", ".h", "\xff", "ab", "Ab"}) {
        sorted.AddFile(name);
    }
    Entries expected;
    for (const char* name : {".h", "A", "a", "Ab", "ab", "B", "b", "Z10", "z2", "_x", "\xff"}) {
        expected.emplace_back(name, false);
    }
    EXPECT_EQ(Listed(sorted.Path()), expected);

    TempFolder temp;
    temp.AddFile("file");
    temp.AddFolder("folder");
    fs::create_symlink("folder", temp.Path("to-folder"));
    fs::create_symlink("file", temp.Path("to-file"));
    fs::create_symlink("nowhere", temp.Path("dangling"));
    fs::create_symlink("loop", temp.Path("loop"));
    ASSERT_EQ(mkfifo(temp.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Listed(temp.Path() + "/"), (Entries{{"dangling", false},
                                                  {"file", false},
                                                  {"folder", true},
                                                  {"loop", false},
                                                  {"pipe", false},
                                                  {"to-file", false},
                                                  {"to-folder", true}}));
    EXPECT_EQ(ListFolder(temp.Path("to-folder"))->id, ListFolder(temp.Path("folder"))->id);
    EXPECT_FALSE(ListFolder(temp.Path())->id == ListFolder(temp.Path("folder"))->id);

    for (const std::string& not_folder :
         {temp.Path("missing"), temp.Path("file"), temp.Path("dangling"), temp.Path("file/"),
          std::string()}) {
        EXPECT_FALSE(ListFolder(not_folder).has_value()) << not_folder;
    }
    // Anything at the path exists, a dangling link included; the name is matched exactly.
    const std::vector<std::pair<std::string, bool>> exists = {{temp.Path("file"), true},
                                                              {temp.Path("folder/"), true},
                                                              {temp.Path("dangling"), true},
                                                              {temp.Path("missing"), false},
                                                              {temp.Path("file/"), false},
                                                              {temp.Path("FILE"), false},
                                                              {"", false}};
    for (const auto& [path, expected_exists] : exists) {
        EXPECT_EQ(PathExists(path), expected_exists) << path;
    }
}

const posix::Temporary kBothWays[] = {posix::Temporary::Anonymous, posix::Temporary::Named};

TEST(CopyNewFile, CopiesContentAndTimeAndLeavesNothingElse) {
    for (posix::Temporary way : kBothWays) {
        TempFolder temp;
        temp.AddFile("add/big.utx", std::string(3 << 20, '\7') + "end");
        temp.AddFile("add/empty.u", "");
        temp.AddFile("real.rv2", "through a link");
        fs::create_symlink(temp.Path("real.rv2"), temp.Path("add/linked.rv2"));
        temp.AddFolder("game/Real");
        fs::create_symlink("Real", temp.Path("game/Maps"));
        const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(9000);
        fs::last_write_time(temp.Path("add/big.utx"), stamp);
        // The last one is a link to a file, copied into a folder reached through a link.
        for (const char* name : {"big.utx", "empty.u", "linked.rv2"}) {
            const std::string from = temp.Path("add/") + name;
            const CopyResult result =
                posix::CopyNewFileUsing(way, from, temp.Path("game/Maps/") + name);
            EXPECT_EQ(result.outcome, CopyOutcome::Copied) << name << ": " << result.reason;
            EXPECT_EQ(ReadWhole(temp.Path("game/Real/") + name), ReadWhole(from)) << name;
        }
        EXPECT_EQ(fs::last_write_time(temp.Path("game/Real/big.utx")), stamp);
        EXPECT_FALSE(fs::is_symlink(temp.Path("game/Real/linked.rv2")));
        EXPECT_EQ(NamesIn(temp.Path("game/Real")),
                  (std::vector<std::string>{"big.utx", "empty.u", "linked.rv2"}))
            << "no temporary file left behind";
    }
}

// Across file systems the in-kernel copy may refuse; the content is then copied by hand.
TEST(CopyNewFile, CopiesAcrossFileSystems) {
    TempFolder temp;
    const std::string shm = "/dev/shm/rv-test-" + std::to_string(::getpid());
    struct stat a {
    }, b{};
    if (stat("/dev/shm", &a) != 0 || stat(temp.Path().c_str(), &b) != 0 || a.st_dev == b.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const std::string content(300000, 'm');
    std::ofstream(shm, std::ios::binary) << content;
    const CopyResult result = CopyNewFile(shm, temp.Path("copy"));
    fs::remove(shm);
    EXPECT_EQ(result.outcome, CopyOutcome::Copied) << result.reason;
    EXPECT_EQ(ReadWhole(temp.Path("copy")), content);
}

TEST(CopyNewFile, RefusesAndReportsWithoutTouchingAnything) {
    struct Case {
        std::string source, destination;
        CopyOutcome outcome;
        std::string reason_holds;
    };
    const std::vector<Case> cases = {
        {"add/a.u", "game/System/file.u", CopyOutcome::DestinationExists, "exists"},
        {"add/a.u", "game/System/dangling.u", CopyOutcome::DestinationExists, "exists"},
        {"add/a.u", "game/System/linked.u", CopyOutcome::DestinationExists, "exists"},
        {"add/a.u", "game/System/folder.u", CopyOutcome::DestinationExists, "exists"},
        {"add/a.u", "game/Maps/a.u", CopyOutcome::DestinationFolderMissing,
         "the game folder has no Maps folder"},
        {"add/a.u", "game/Textures/a.u", CopyOutcome::DestinationFolderMissing, "Textures"},
        {"add/gone.u", "game/System/g.u", CopyOutcome::SourceUnreadable,
         "the add-on file can no longer be read"},
        {"add/dangling.u", "game/System/d.u", CopyOutcome::SourceUnreadable, "no longer be read"},
        {"add/folder.u", "game/System/f.u", CopyOutcome::SourceUnreadable, "not a regular file"},
        {"add/pipe.u", "game/System/p.u", CopyOutcome::SourceUnreadable, "not a regular file"},
        {"add/a.u", "game/System/", CopyOutcome::Failed, "names no file"},
    };
    for (posix::Temporary way : kBothWays) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.source + " -> " + c.destination);
            TempFolder temp;
            temp.AddFile("add/a.u", "add-on");
            temp.AddFolder("add/folder.u");
            fs::create_symlink("nowhere", temp.Path("add/dangling.u"));
            ASSERT_EQ(mkfifo(temp.Path("add/pipe.u").c_str(), 0600), 0);
            temp.AddFile("game/System/file.u", "installed");
            temp.AddFolder("game/System/folder.u");
            temp.AddFile("game/Textures", "a file");
            temp.AddFile("elsewhere/keep.u", "keep");
            fs::create_symlink(temp.Path("elsewhere/none.u"), temp.Path("game/System/dangling.u"));
            fs::create_symlink(temp.Path("elsewhere/keep.u"), temp.Path("game/System/linked.u"));
            const auto before = NamesIn(temp.Path("game/System"));

            const CopyResult result =
                posix::CopyNewFileUsing(way, temp.Path(c.source), temp.Path(c.destination));

            EXPECT_EQ(result.outcome, c.outcome) << result.reason;
            EXPECT_NE(result.reason.find(c.reason_holds), std::string::npos) << result.reason;
            EXPECT_EQ(NamesIn(temp.Path("game/System")), before);
            EXPECT_EQ(NamesIn(temp.Path("elsewhere")), (std::vector<std::string>{"keep.u"}));
            EXPECT_EQ(ReadWhole(temp.Path("elsewhere/keep.u")), "keep");
            EXPECT_EQ(ReadWhole(temp.Path("game/System/file.u")), "installed");
            EXPECT_EQ(ReadWhole(temp.Path("game/Textures")), "a file");
        }
    }
}

TEST(CopyNewFile, AFailureMidwayLeavesNoFileUnderAnyName) {
    for (posix::Temporary way : kBothWays) {
        TempFolder temp;
        temp.AddFile("add/huge.utx", std::string(1 << 20, 'x'));
        temp.AddFolder("game");
        FileSizeLimit limit(100 * 1024);
        const CopyResult result =
            posix::CopyNewFileUsing(way, temp.Path("add/huge.utx"), temp.Path("game/huge.utx"));
        EXPECT_EQ(result.outcome, CopyOutcome::Failed) << result.reason;
        EXPECT_TRUE(fs::is_empty(temp.Path("game")));
    }
}

// A destination that appears after the existence test, while the content is copied, is kept:
// a second thread creates it as soon as the temporary file shows up in the folder.
TEST(CopyNewFile, ADestinationThatAppearsDuringTheCopyIsKept) {
    bool intruder_won = false;
    for (int attempt = 0; attempt < 20 && !intruder_won; ++attempt) {
        TempFolder temp;
        temp.AddFile("add/slow.utx", std::string(64 << 20, 's'));
        temp.AddFolder("game");
        const std::string destination = temp.Path("game/slow.utx");
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch, temp.Path("game").c_str(), IN_CREATE), 0);
        std::thread intruder([&] {
            alignas(inotify_event) char events[4096];
            if (read(watch, events, sizeof events) > 0) {
                const int fd = open(destination.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
                intruder_won = fd >= 0 && write(fd, "intruder", 8) == 8;
                close(fd);
            }
        });
        const CopyResult result = posix::CopyNewFileUsing(posix::Temporary::Named,
                                                          temp.Path("add/slow.utx"), destination);
        intruder.join();
        close(watch);
        if (intruder_won) {
            EXPECT_EQ(result.outcome, CopyOutcome::DestinationExists) << result.reason;
            EXPECT_EQ(ReadWhole(destination), "intruder");
            EXPECT_EQ(NamesIn(temp.Path("game")), (std::vector<std::string>{"slow.utx"}));
        }
    }
    EXPECT_TRUE(intruder_won) << "the intruder never got in before the copy ended";
}

}  // namespace
}  // namespace rv::platform
