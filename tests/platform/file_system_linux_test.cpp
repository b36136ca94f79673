// SPDX-License-Identifier: MIT
#include "platform/file_system_linux.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/data_folder.h"
#include "platform/regular_file_linux.h"
#include "support/processes_linux.h"
#include "support/temp_folder.h"

// What only Linux has: links, pipes, names that are not UTF-8, both kinds of temporary file.
namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const posix::Temporary kBothWays[] = {posix::Temporary::Anonymous, posix::Temporary::Named};

// A pipe is listed as a file that is there; a name that is not UTF-8 is taken as its bytes.
TEST(ListFolder, ListsPipesAndNamesThatAreNotUtf8) {
    TempFolder temp;
    temp.AddFile("\xff");
    ASSERT_EQ(mkfifo(temp.Path("pipe").c_str(), 0600), 0);
    const FolderListing listing = ListFolder(temp.Path()).value();
    ASSERT_EQ(listing.entries.size(), 2U);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(listing.entries[i].name, i == 0 ? "pipe" : "\xff");
        EXPECT_FALSE(listing.entries[i].is_folder);
        EXPECT_TRUE(PathExists(temp.Path(listing.entries[i].name)));
    }
}

// Into a game sub-folder that is a link; a pipe, a file longer than its size says and a
// destination that names no file leave nothing anywhere.
TEST(CopyNewFile, CopiesThroughALinkedFolderAndRefusesWithoutTouchingAnything) {
    using enum CopyOutcome;
    const std::vector<std::tuple<std::string, std::string, CopyOutcome, std::string>> cases = {
        {"big.u", "Maps/big.u", Copied, ""},
        {"pipe.u", "Maps/p.u", SourceUnreadable, "not a regular file"},
        {"status.u", "Maps/s.u", SourceChanged, "changed while it was copied"},
        {"big.u", "Maps/", Failed, "names no file"},
    };
    for (posix::Temporary way : kBothWays) {
        for (const auto& [source, destination, outcome, reason_holds] : cases) {
            SCOPED_TRACE(source + " -> " + destination);
            TempFolder temp;
            temp.AddFile("add/big.u", std::string(3 << 20, '\7') + "end");
            ASSERT_EQ(mkfifo(temp.Path("add/pipe.u").c_str(), 0600), 0);
            fs::create_symlink("/proc/self/status", temp.Path("add/status.u"));  // size 0
            temp.AddFolder("game/Real");
            fs::create_symlink("Real", temp.Path("game/Maps"));

            const CopyResult result = posix::CopyNewFileUsing(way, temp.Path("add/" + source),
                                                              temp.Path("game/" + destination));

            EXPECT_EQ(result.outcome, outcome) << result.reason;
            EXPECT_NE(result.reason.find(reason_holds), std::string::npos) << result.reason;
            EXPECT_EQ(NamesIn(temp.Path("game/Real")), outcome == Copied ? Names{source} : Names{});
            if (outcome == Copied) {
                EXPECT_EQ(ReadWhole(temp.Path("game/Real/" + source)),
                          ReadWhole(temp.Path("add/big.u")));
            }
        }
    }
}

// A folder a pass keeps open and that is removed during the pass is missing, as if never there.
TEST(CopyNewFile, AKeptFolderRemovedDuringAPassIsMissing) {
    for (posix::Temporary way : kBothWays) {
        TempFolder temp;
        temp.AddFile("add/a.u", "a");
        temp.AddFolder("game/Maps");
        const DestinationFoldersKept kept;
        const auto copy = [&](const std::string& name) {
            return posix::CopyNewFileUsing(way, temp.Path("add/a.u"),
                                           temp.Path("game/Maps/" + name));
        };
        EXPECT_EQ(copy("1.u").outcome, CopyOutcome::Copied);
        fs::remove_all(temp.Path("game/Maps"));
        const CopyResult result = copy("2.u");
        EXPECT_EQ(result.outcome, CopyOutcome::DestinationFolderMissing) << result.reason;
        EXPECT_EQ(result.reason, "the game folder has no Maps folder");
        EXPECT_FALSE(fs::exists(temp.Path("game/Maps")));
    }
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

// Only a regular file opens, and nothing else at the path makes the open wait: a pipe without a
// writer, a device, a folder; a link opens only when links are followed.
TEST(OpenRegularFile, OpensOnlyRegularFilesAndNeverWaits) {
    TempFolder temp;
    temp.AddFile("file", "data");
    ASSERT_EQ(mkfifo(temp.Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("file", temp.Path("link"));
    const std::tuple<std::string, Links, int> cases[] = {
        {temp.Path("file"), Links::Refuse, 0},      {temp.Path("link"), Links::Follow, 0},
        {temp.Path("link"), Links::Refuse, ELOOP},  {temp.Path("pipe"), Links::Follow, EINVAL},
        {"/dev/zero", Links::Follow, EINVAL},       {temp.Path(), Links::Follow, EINVAL},
        {temp.Path("gone"), Links::Follow, ENOENT},
    };
    for (const auto& [path, links, error] : cases) {
        RegularFile file;
        auto opened =
            std::async(std::launch::async, [&] { return OpenRegularFile(path, links, file); });
        if (opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            const int writer = open(temp.Path("pipe").c_str(), O_RDWR);  // lets the open go on
            opened.wait();
            close(writer);
            ADD_FAILURE() << path << " held the open";
            continue;
        }
        EXPECT_EQ(opened.get(), error) << path;
        EXPECT_EQ(file.fd.valid(), error == 0) << path;
        EXPECT_EQ(file.info.st_size, error == 0 ? 4 : file.info.st_size) << path;
    }
}

// A small file that cannot be written whole (here: over the process's file size limit) leaves the
// file at its name as it was, and no temporary beside it.
TEST(WriteFileSafely, LeavesTheOldContentWhenTheNewCannotBeWritten) {
    TempFolder temp;
    temp.AddFile("data/r.json", "old");
    std::string problem;
    WithFileSizeLimit(64, [&] {
        problem = WriteFileSafely(temp.Path("data"), "r.json", std::string(1000, 'n'));
    });
    EXPECT_NE(problem, "");
    EXPECT_EQ(ReadWhole(temp.Path("data/r.json")), "old");
    EXPECT_EQ(NamesIn(temp.Path("data")), Names{"r.json"});
}

}  // namespace
}  // namespace rv::platform
