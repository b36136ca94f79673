// SPDX-License-Identifier: MIT
#include "platform/file_system_linux.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/temp_folder.h"

// What only Linux has: links, pipes, names that are not UTF-8, both kinds of temporary file.
namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const posix::Temporary kBothWays[] = {posix::Temporary::Anonymous, posix::Temporary::Named};

// Lowers the largest file this process may write while in scope, so a copy fails midway as on a
// full disk.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit lowered{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

// A link counts as what it reaches; anything at a path exists, a dangling link included; names
// are matched exactly.
TEST(ListFolder, TellsFoldersByWhatLinksReachAndMatchesNamesExactly) {
    TempFolder temp;
    temp.AddFile("file");
    temp.AddFile("\xff");
    temp.AddFolder("folder");
    for (const auto& [link, target] : {std::pair{"to-folder", "folder"},
                                       {"to-file", "file"},
                                       {"dangling", "nowhere"},
                                       {"loop", "loop"}}) {
        fs::create_symlink(target, temp.Path(link));
    }
    ASSERT_EQ(mkfifo(temp.Path("pipe").c_str(), 0600), 0);
    Names names;
    const FolderListing listing = ListFolder(temp.Path()).value();
    for (const FolderEntry& entry : listing.entries) {
        names.push_back(entry.name + (entry.is_folder ? "/" : ""));
    }
    EXPECT_EQ(names, (Names{"dangling", "file", "folder/", "loop", "pipe", "to-file", "to-folder/",
                            "\xff"}));
    EXPECT_EQ(ListFolder(temp.Path("to-folder"))->id, ListFolder(temp.Path("folder"))->id);
    for (const auto& [path, exists] : std::vector<std::pair<std::string, bool>>{
             {"dangling", true}, {"loop", true}, {"\xff", true}, {"FILE", false}}) {
        EXPECT_EQ(PathExists(temp.Path(path)), exists) << path;
    }
}

// Each way of making the temporary file; a source on another file system (where the in-kernel
// copy refuses), an empty one, and a game sub-folder that is a link. Refusals and a copy that
// fails midway leave nothing anywhere.
TEST(CopyNewFile, CopiesThroughLinksAndRefusesWithoutTouchingAnything) {
    using enum CopyOutcome;
    const std::string other = "/dev/shm/rv-test-" + std::to_string(::getpid());
    std::ofstream(other, std::ios::binary) << std::string(300000, 'm');
    const std::vector<std::tuple<std::string, std::string, CopyOutcome, std::string>> cases = {
        {"big.u", "Maps/big.u", Copied, ""},
        {"empty.u", "Maps/empty.u", Copied, ""},
        {"other.u", "Maps/other.u", Copied, ""},
        {"big.u", "System/dangling.u", DestinationExists, "exists"},
        {"big.u", "System/linked.u", DestinationExists, "exists"},
        {"dangling.u", "System/d.u", SourceUnreadable, "no longer be read"},
        {"pipe.u", "System/p.u", SourceUnreadable, "not a regular file"},
        {"big.u", "System/", Failed, "names no file"},
        {"big.u", "System/huge.u", Failed, "too large"}};
    for (posix::Temporary way : kBothWays) {
        for (const auto& [source, destination, outcome, reason_holds] : cases) {
            SCOPED_TRACE(source + " -> " + destination);
            TempFolder temp;
            temp.AddFile("add/big.u", std::string(3 << 20, '\7') + "end");
            temp.AddFile("add/empty.u", "");
            fs::create_symlink(other, temp.Path("add/other.u"));
            fs::create_symlink("nowhere", temp.Path("add/dangling.u"));
            ASSERT_EQ(mkfifo(temp.Path("add/pipe.u").c_str(), 0600), 0);
            const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(9000);
            fs::last_write_time(temp.Path("add/big.u"), stamp);
            temp.AddFolder("game/Real");
            fs::create_symlink("Real", temp.Path("game/Maps"));
            temp.AddFolder("game/System");
            temp.AddFile("elsewhere/keep.u", "keep");
            fs::create_symlink(temp.Path("elsewhere/none.u"), temp.Path("game/System/dangling.u"));
            fs::create_symlink(temp.Path("elsewhere/keep.u"), temp.Path("game/System/linked.u"));
            const Names before = NamesIn(temp.Path("game/System"));
            const bool huge = destination == "System/huge.u";
            const FileSizeLimit limit(huge ? 100 * 1024 : RLIM_INFINITY);

            const CopyResult result = posix::CopyNewFileUsing(way, temp.Path("add/" + source),
                                                              temp.Path("game/" + destination));

            EXPECT_EQ(result.outcome, outcome) << result.reason;
            EXPECT_NE(result.reason.find(reason_holds), std::string::npos) << result.reason;
            EXPECT_EQ(NamesIn(temp.Path("game/System")), before);
            EXPECT_EQ(NamesIn(temp.Path("elsewhere")), (Names{"keep.u"}));
            EXPECT_EQ(ReadWhole(temp.Path("elsewhere/keep.u")), "keep");
            if (outcome == Copied) {
                EXPECT_EQ(NamesIn(temp.Path("game/Real")), Names{source});
                EXPECT_FALSE(fs::is_symlink(temp.Path("game/Real/" + source)));
                EXPECT_EQ(ReadWhole(temp.Path("game/Real/" + source)),
                          ReadWhole(temp.Path("add/" + source)));
                EXPECT_EQ(fs::last_write_time(temp.Path("game/Real/" + source)),
                          fs::last_write_time(temp.Path("add/" + source)));
            } else {
                EXPECT_TRUE(fs::is_empty(temp.Path("game/Real")));
            }
        }
    }
    fs::remove(other);
}

TEST(CopyNewFile, NamesEachWriteFailureInPlainWords) {
    using enum CopyOutcome;
    const std::vector<std::tuple<int, CopyOutcome, std::string>> cases = {
        {ENOSPC, NoSpace, "the disk is full"},
        {EDQUOT, NoSpace, "the disk is full"},
        {EFBIG, Failed, "the file is too large to be written there"},
        {EACCES, PermissionDenied, "the game's Maps folder cannot be written"},
        {EROFS, PermissionDenied, "the game's Maps folder cannot be written"},
        {EEXIST, DestinationExists, "something already exists at the destination"},
        {EIO, Failed, "the file could not be written (" + std::string(strerror(EIO)) + ")"}};
    for (const auto& [error, outcome, reason] : cases) {
        const CopyResult result = posix::WriteFailure(error, "Maps");
        EXPECT_EQ(result.outcome, outcome) << reason;
        EXPECT_EQ(result.reason, reason);
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
            EXPECT_EQ(NamesIn(temp.Path("game")), (Names{"slow.utx"}));
            EXPECT_EQ(ReadWhole(destination), "intruder");
        }
    }
    EXPECT_TRUE(intruder_won) << "the intruder never got in before the copy ended";
}

// The source is changed for real between two chunks of the copy, on the in-kernel path and, from
// another file system, the read-and-write one; or the caller stops the copy there. Nothing is
// left.
TEST(CopyNewFile, RefusesASourceThatChangedMidCopyAndStopsWhenAsked) {
    using enum CopyOutcome;
    using Change = std::function<void(const std::string&)>;
    const std::vector<std::tuple<std::string, Change, bool, CopyOutcome>> cases = {
        {"unchanged", [](const std::string&) {}, true, Copied},
        {"shrunk", [](const std::string& s) { fs::resize_file(s, 1 << 20); }, true, SourceChanged},
        {"grown", [](const std::string& s) { std::ofstream(s, std::ios::app) << "+"; }, true,
         SourceChanged},
        {"touched", [](const std::string& s) { fs::last_write_time(s, {}); }, true, SourceChanged},
        {"stopped", [](const std::string&) {}, false, Stopped}};
    const std::string shm = "/dev/shm/rv-test-torn-" + std::to_string(::getpid());
    for (const auto& [name, change, keep_going, outcome] : cases) {
        for (posix::Temporary way : kBothWays) {
            for (const bool elsewhere : {false, true}) {
                SCOPED_TRACE(name + (elsewhere ? " from another file system" : ""));
                TempFolder temp;
                temp.AddFolder("game");
                const std::string source = elsewhere ? shm : temp.Path("big.utx");
                std::ofstream(source, std::ios::binary) << std::string(20 << 20, 'b');
                int asked = 0;
                const CopyResult result =
                    posix::CopyNewFileUsing(way, source, temp.Path("game/big.utx"), [&] {
                        if (++asked == 2) {
                            change(source);
                        }
                        return asked < 2 || keep_going;
                    });
                EXPECT_EQ(result.outcome, outcome) << result.reason;
                EXPECT_EQ(NamesIn(temp.Path("game")),
                          outcome == Copied ? Names{"big.utx"} : Names{});
                EXPECT_GE(asked, outcome == Copied ? 3 : 1) << "asked before and between chunks";
            }
        }
    }
    fs::remove(shm);
}

}  // namespace
}  // namespace rv::platform
