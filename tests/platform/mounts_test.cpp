// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system_linux.h"
#include "support/processes_linux.h"
#include "support/temp_folder.h"

// Copies onto file systems made on image files and mounted by the test. Those of USB drives and SD
// cards as FUSE mounts them: FAT32 and exFAT have neither a rename that refuses to replace nor
// hard links, NTFS has links only; none has O_TMPFILE. And one that shares blocks (btrfs), where
// a copy is a clone.
namespace rv::platform {
namespace {

using namespace rv::test;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

struct Kind {
    std::string name;
    std::string tools;  // the commands it needs
    std::string mount;  // makes $IMG and mounts it on $MNT
    bool fuse = true;
};

const Kind kBtrfs = {"btrfs", "mkfs.btrfs",
                     "truncate -s 128M $IMG && mkfs.btrfs -q $IMG && mount -o loop $IMG $MNT",
                     false};
const Kind kFuseKinds[] = {
    {"FAT32", "mkfs.fat fusefat",
     "truncate -s 64M $IMG && mkfs.fat -F 32 $IMG && fusefat -o rw+ $IMG $MNT"},
    {"NTFS", "mkntfs ntfs-3g", "truncate -s 64M $IMG && mkntfs -F -Q $IMG && ntfs-3g $IMG $MNT"},
    // exfat-fuse takes only a block device: a loop device over the image.
    {"exFAT", "mkfs.exfat mount.exfat-fuse losetup",
     "truncate -s 64M $IMG && mkfs.exfat $IMG && losetup -f --show $IMG >$IMG.loop && "
     "mount.exfat-fuse $(cat $IMG.loop) $MNT"},
};

// The kind's file system, mounted in a temporary folder for as long as it lives; `skipped` says
// why none could be made.
class ImageMount {
public:
    explicit ImageMount(const Kind& kind) {
        temp_.AddFolder("mnt");
        if (kind.fuse && ::access("/dev/fuse", R_OK | W_OK) != 0) {
            skipped = "/dev/fuse is missing or not usable";
        } else if (Run("for tool in " + kind.tools + "; do command -v $tool || exit 1; done")) {
            skipped = "one of " + kind.tools + " is missing";
        } else if (Run(kind.mount) != 0) {
            skipped = "it could not be mounted here";
        } else {
            path = temp_.Path("mnt");
        }
    }
    ~ImageMount() {
        if (!path.empty()) {
            Run("umount $MNT || umount -l $MNT; [ ! -f $IMG.loop ] || losetup -d $(cat $IMG.loop)");
        }
    }
    ImageMount(const ImageMount&) = delete;
    ImageMount& operator=(const ImageMount&) = delete;

    std::string path;
    std::string skipped;

private:
    int Run(const std::string& command) const {
        const std::string line = "PATH=$PATH:/usr/sbin:/sbin IMG='" + temp_.Path("image") +
                                 "' MNT='" + temp_.Path("mnt") + "'; (" + command +
                                 ") >/dev/null 2>&1";
        return std::system(line.c_str());
    }

    TempFolder temp_;
};

// An empty file with the time a copy marks its reservation of a name with.
void AddReservation(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    const timespec marked[2] = {{315'619'200, 0}, {315'619'200, 0}};
    ASSERT_EQ(::futimens(fd, marked), 0);
    ::close(fd);
}

// A copy takes a free name whole, leaves a taken one alone and leaves nothing else; what a copy
// that ended midway left (its temporary, the empty reservation of the name) is cleared, and
// nothing else is.
TEST(FuseMounts, CopiesWithoutReplacingAndClearsWhatACrashLeft) {
    TempFolder temp;
    temp.AddFile("big.u", std::string(3 << 20, 'b') + "end");
    temp.AddFile("other.u", "other");
    std::string skipped;
    int mounted = 0;
    for (const Kind& kind : kFuseKinds) {
        SCOPED_TRACE(kind.name);
        const ImageMount mount(kind);
        if (!mount.skipped.empty()) {
            std::printf("[  SKIP    ] %s: %s\n", kind.name.c_str(), mount.skipped.c_str());
            skipped += kind.name + ": " + mount.skipped + "; ";
            continue;
        }
        ++mounted;
        for (const auto way : {posix::Temporary::Anonymous, posix::Temporary::Named}) {
            const std::string folder = mount.path + "/Maps" + std::to_string(static_cast<int>(way));
            ASSERT_TRUE(fs::create_directory(folder));
            const DestinationFoldersKept kept;
            const CopyResult copied =
                posix::CopyNewFileUsing(way, temp.Path("big.u"), folder + "/big.u");
            EXPECT_EQ(copied.outcome, CopyOutcome::Copied) << copied.reason;
            const CopyResult taken =
                posix::CopyNewFileUsing(way, temp.Path("other.u"), folder + "/big.u");
            EXPECT_EQ(taken.outcome, CopyOutcome::DestinationExists) << taken.reason;
            // The file system keeps a temporary removed while still open under a hidden name of
            // its own until it has handled the close, which comes a moment after the close.
            Names names = NamesIn(folder);
            std::erase_if(names,
                          [](const std::string& n) { return n.starts_with(".fuse_hidden"); });
            EXPECT_EQ(names, Names{"big.u"});
            EXPECT_TRUE(ReadWhole(folder + "/big.u") == ReadWhole(temp.Path("big.u")));
        }
        const std::string left = mount.path + "/Left";
        const std::string stale = ".rv-part-" + std::to_string(GoneProcess()) + "-1f-0";
        ASSERT_TRUE(fs::create_directory(left));
        std::ofstream(left + "/" + stale) << "copied in full";
        AddReservation(left + "/reserved.u");
        std::ofstream(left + "/empty.u");
        std::ofstream(left + "/full.u") << "full";
        fs::last_write_time(left + "/full.u", fs::last_write_time(left + "/reserved.u"));
        RemoveStaleTemporaries(left);
        EXPECT_EQ(NamesIn(left), (Names{"empty.u", "full.u"}));
    }
    if (mounted == 0) {
        GTEST_SKIP() << skipped;
    }
}

// Where the file system shares blocks, a copy is a clone of the add-on file, and a watcher still
// sees the whole content, in order: the receipts hash what was written through it.
TEST(ReflinkMount, ShowsAClonedCopyToTheWatcher) {
    const ImageMount mount(kBtrfs);
    if (!mount.skipped.empty()) {
        GTEST_SKIP() << "btrfs: " << mount.skipped;
    }
    std::string big;
    while (big.size() < (3 << 20)) {
        big += std::to_string(big.size());
    }
    std::ofstream(mount.path + "/big.u") << big;
    for (const auto way : {posix::Temporary::Anonymous, posix::Temporary::Named}) {
        const std::string copy = mount.path + "/copy" + std::to_string(static_cast<int>(way));
        std::string seen;
        const CopyResult result = posix::CopyNewFileUsing(
            way, mount.path + "/big.u", copy, {},
            [&seen](std::span<const char> piece) { seen.append(piece.data(), piece.size()); });
        EXPECT_EQ(result.outcome, CopyOutcome::Copied) << result.reason;
        EXPECT_TRUE(result.watched);
        EXPECT_TRUE(seen == big) << seen.size() << " bytes seen";
        EXPECT_TRUE(ReadWhole(copy) == big);
    }
}

}  // namespace
}  // namespace rv::platform
