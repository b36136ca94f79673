#include "platform/file_system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace rv::platform {
namespace {

using test::Exists;
using test::NamesIn;
using test::ReadWhole;
using test::TempFolder;
namespace fs = std::filesystem;

TEST(ListFolder, SortsByNameCaseInsensitivelyThenBytewise) {
    TempFolder temp;
    for (const std::string name :
         {"b", "A", "a", "B", "_x", "z2", "Z10", ".hidden", "\xff\xfe", "ab", "Ab"}) {
        temp.AddFile(name);
    }
    const auto listing = ListFolder(temp.Path());
    ASSERT_TRUE(listing.has_value());
    std::vector<std::string> names;
    for (const auto& entry : listing->entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "A", "a", "Ab", "ab", "B", "b", "Z10",
                                               "z2", "_x", "\xff\xfe"}));
}

TEST(ListFolder, TellsFoldersFromFilesFollowingLinks) {
    TempFolder temp;
    temp.AddFile("file");
    temp.AddFolder("folder");
    fs::create_symlink("folder", temp.Path("to-folder"));
    fs::create_symlink("file", temp.Path("to-file"));
    fs::create_symlink("nowhere", temp.Path("dangling"));
    fs::create_symlink("loop", temp.Path("loop"));
    ASSERT_EQ(mkfifo(temp.Path("pipe").c_str(), 0600), 0);

    const auto listing = ListFolder(temp.Path() + "/");
    ASSERT_TRUE(listing.has_value());
    std::vector<std::pair<std::string, bool>> entries;
    for (const auto& entry : listing->entries) {
        entries.emplace_back(entry.name, entry.is_folder);
    }
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, bool>>{{"dangling", false},
                                                                  {"file", false},
                                                                  {"folder", true},
                                                                  {"loop", false},
                                                                  {"pipe", false},
                                                                  {"to-file", false},
                                                                  {"to-folder", true}}));

    const auto through_link = ListFolder(temp.Path("to-folder"));
    const auto folder = ListFolder(temp.Path("folder"));
    ASSERT_TRUE(through_link && folder);
    EXPECT_EQ(through_link->id, folder->id) << "a linked folder is the same folder";
    EXPECT_FALSE(listing->id == folder->id);
}

TEST(ListFolder, NothingForWhatIsNotAFolder) {
    TempFolder temp;
    temp.AddFile("file");
    fs::create_symlink("nowhere", temp.Path("dangling"));
    for (const std::string& path : {temp.Path("missing"), temp.Path("file"), temp.Path("dangling"),
                                    temp.Path("file") + "/", std::string()}) {
        EXPECT_FALSE(ListFolder(path).has_value()) << "'" << path << "'";
    }
    EXPECT_TRUE(ListFolder(temp.Path()).has_value());
}

TEST(PathExists, TrueForAnythingAtThePathDanglingLinksIncluded) {
    TempFolder temp;
    temp.AddFile("file");
    temp.AddFolder("folder");
    fs::create_symlink("nowhere", temp.Path("dangling"));
    const std::vector<std::pair<std::string, bool>> cases = {
        {temp.Path("file"), true},         {temp.Path("folder"), true},
        {temp.Path("folder") + "/", true}, {temp.Path("dangling"), true},
        {temp.Path("missing"), false},     {temp.Path("file") + "/", false},
        {temp.Path("FILE"), false},        {"", false},
    };
    for (const auto& [path, exists] : cases) {
        EXPECT_EQ(PathExists(path), exists) << "'" << path << "'";
    }
}

const std::vector<posix::Temporary> kBothWays = {posix::Temporary::Anonymous,
                                                 posix::Temporary::Named};

std::string WayName(posix::Temporary way) {
    return way == posix::Temporary::Anonymous ? "anonymous temporary" : "named temporary";
}

TEST(CopyNewFile, CopiesContentAndTimeAndLeavesNothingElse) {
    for (posix::Temporary way : kBothWays) {
        SCOPED_TRACE(WayName(way));
        TempFolder temp;
        std::string content(3 << 20, '\0');
        for (std::size_t i = 0; i < content.size(); ++i) {
            content[i] = static_cast<char>(i * 7 % 251);
        }
        temp.AddFile("add/big.utx", content);
        temp.AddFile("add/empty.u", "");
        temp.AddFile("real/target.rv2", "through a link");
        fs::create_symlink(temp.Path("real/target.rv2"), temp.Path("add/linked.rv2"));
        temp.AddFolder("game/Real");
        fs::create_symlink("Real", temp.Path("game/Maps"));
        const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(9000);
        fs::last_write_time(temp.Path("add/big.utx"), stamp);

        const std::vector<std::pair<std::string, std::string>> copies = {
            {"add/big.utx", "game/Real/big.utx"},
            {"add/empty.u", "game/Real/empty.u"},
            {"add/linked.rv2", "game/Maps/linked.rv2"},  // link to a file, into a linked folder
        };
        for (const auto& [from, to] : copies) {
            const CopyResult result = posix::CopyNewFileUsing(way, temp.Path(from), temp.Path(to));
            EXPECT_EQ(result.outcome, CopyOutcome::Copied) << from << ": " << result.reason;
            EXPECT_EQ(result.reason, "");
            EXPECT_EQ(ReadWhole(temp.Path(to)), ReadWhole(temp.Path(from))) << from;
        }
        EXPECT_EQ(fs::last_write_time(temp.Path("game/Real/big.utx")), stamp);
        EXPECT_FALSE(fs::is_symlink(temp.Path("game/Real/linked.rv2")));
        EXPECT_EQ(NamesIn(temp.Path("game/Real")),
                  (std::vector<std::string>{"big.utx", "empty.u", "linked.rv2"}))
            << "no temporary file is left behind";
    }
}

TEST(CopyNewFile, RefusesAndReportsWithoutTouchingAnything) {
    struct Case {
        std::string title;
        std::string source;
        std::string destination;
        CopyOutcome outcome;
        std::string reason_holds;
    };
    const std::vector<Case> cases = {
        {"a file at the destination", "add/a.u", "game/System/file.u",
         CopyOutcome::DestinationExists, "exists"},
        {"a dangling link at the destination", "add/a.u", "game/System/dangling.u",
         CopyOutcome::DestinationExists, "exists"},
        {"a link to a file at the destination", "add/a.u", "game/System/linked.u",
         CopyOutcome::DestinationExists, "exists"},
        {"a folder at the destination", "add/a.u", "game/System/folder.u",
         CopyOutcome::DestinationExists, "exists"},
        {"no such game sub-folder", "add/a.u", "game/Maps/a.u",
         CopyOutcome::DestinationFolderMissing, "the game folder has no Maps folder"},
        {"the game sub-folder is a file", "add/a.u", "game/Textures/a.u",
         CopyOutcome::DestinationFolderMissing, "Textures"},
        {"the source is gone", "add/gone.u", "game/System/gone.u", CopyOutcome::SourceUnreadable,
         "the add-on file can no longer be read"},
        {"the source is a dangling link", "add/dangling.u", "game/System/d.u",
         CopyOutcome::SourceUnreadable, "can no longer be read"},
        {"the source is a folder", "add/folder.u", "game/System/f.u", CopyOutcome::SourceUnreadable,
         "not a regular file"},
        {"the source is a pipe", "add/pipe.u", "game/System/p.u", CopyOutcome::SourceUnreadable,
         "not a regular file"},
        {"the destination names no file", "add/a.u", "game/System/", CopyOutcome::Failed,
         "names no file"},
    };
    for (posix::Temporary way : kBothWays) {
        for (const Case& c : cases) {
            SCOPED_TRACE(WayName(way) + ": " + c.title);
            TempFolder temp;
            temp.AddFile("add/a.u", "add-on");
            temp.AddFolder("add/folder.u");
            fs::create_symlink("nowhere", temp.Path("add/dangling.u"));
            ASSERT_EQ(mkfifo(temp.Path("add/pipe.u").c_str(), 0600), 0);
            temp.AddFile("game/System/file.u", "installed");
            temp.AddFile("game/Textures", "a file");
            temp.AddFile("elsewhere/keep.u", "keep");
            fs::create_symlink(temp.Path("elsewhere/missing.u"),
                               temp.Path("game/System/dangling.u"));
            fs::create_symlink(temp.Path("elsewhere/keep.u"), temp.Path("game/System/linked.u"));
            temp.AddFolder("game/System/folder.u");
            const auto before = NamesIn(temp.Path("game/System"));

            const bool names_folder = c.destination.back() == '/';
            const CopyResult result = posix::CopyNewFileUsing(
                way, temp.Path(c.source), temp.Path(c.destination) + (names_folder ? "/" : ""));

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

// Lowers the largest file size this process may write, for as long as it is in scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, old_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    sighandler_t old_handler_ = SIG_DFL;
};

TEST(CopyNewFile, AFailureMidwayLeavesNoFileUnderAnyName) {
    for (posix::Temporary way : kBothWays) {
        SCOPED_TRACE(WayName(way));
        TempFolder temp;
        temp.AddFile("add/huge.utx", std::string(1 << 20, 'x'));
        temp.AddFolder("game/Textures");
        CopyResult result;
        {
            FileSizeLimit limit(100 * 1024);
            result = posix::CopyNewFileUsing(way, temp.Path("add/huge.utx"),
                                             temp.Path("game/Textures/huge.utx"));
        }
        EXPECT_NE(result.outcome, CopyOutcome::Copied);
        EXPECT_FALSE(result.reason.empty());
        EXPECT_TRUE(fs::is_empty(temp.Path("game/Textures")));
    }
}

// A destination that appears while the copy runs, after the existence test, is not replaced:
// another thread creates it as soon as the temporary file shows up in the folder.
TEST(CopyNewFile, ADestinationThatAppearsDuringTheCopyIsKept) {
    int races_won = 0;
    for (int attempt = 0; attempt < 20 && races_won == 0; ++attempt) {
        TempFolder temp;
        temp.AddFile("add/slow.utx", std::string(64 << 20, 's'));
        temp.AddFolder("game/Textures");
        const std::string destination = temp.Path("game/Textures/slow.utx");
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(inotify_add_watch(watch, temp.Path("game/Textures").c_str(), IN_CREATE), 0);
        bool intruder_created = false;
        std::thread intruder([&] {
            alignas(inotify_event) char events[4096];
            if (read(watch, events, sizeof events) > 0) {
                const int fd = open(destination.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
                if (fd >= 0) {
                    intruder_created = write(fd, "intruder", 8) == 8;
                    close(fd);
                }
            }
        });
        const CopyResult result = posix::CopyNewFileUsing(posix::Temporary::Named,
                                                          temp.Path("add/slow.utx"), destination);
        if (!intruder_created) {
            // The copy finished first; unblock the watcher with an event of our own.
            temp.AddFile("game/Textures/wake");
        }
        intruder.join();
        close(watch);
        if (intruder_created) {
            ++races_won;
            EXPECT_EQ(result.outcome, CopyOutcome::DestinationExists) << result.reason;
            EXPECT_EQ(ReadWhole(destination), "intruder");
            EXPECT_EQ(NamesIn(temp.Path("game/Textures")), (std::vector<std::string>{"slow.utx"}));
        }
    }
    EXPECT_GT(races_won, 0) << "the intruder never got in before the copy ended";
}

}  // namespace
}  // namespace rv::platform
