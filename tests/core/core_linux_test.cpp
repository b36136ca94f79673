#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
#include "core/receipt_book.h"
#include "pass_fixture.h"

namespace rv::test {
namespace {

namespace fs = std::filesystem;

// Links to folders are walked each time they are met, except back into the current path (a
// loop, here also through two links); links to files count as files, dangling ones too.
TEST(FindFilesOnLinks, WalksLinkedFoldersButNeverBackIntoTheCurrentPath) {
    TempFolder temp;
    for (const char* file : {"A/a.u", "A/B/b.u", "C/c.u", "z.u"}) {
        temp.AddFile(file);
    }
    const std::pair<const char*, const char*> links[] = {{"A/self", "."},
                                                         {"A/up", ".."},
                                                         {"A/B/top", "../.."},
                                                         {"A/linked.u", "../z.u"},
                                                         {"A/dangling.u", "nowhere"},
                                                         {"A/toC", "../C"},
                                                         {"A/B/toC", "../../C"},
                                                         {"C/toB", "../A/B"}};
    for (const auto& [link, target] : links) {
        fs::create_symlink(target, temp.Path(link));
    }
    RecordingWindow window;
    FoundList list(1);
    ASSERT_TRUE(FindFiles(temp.Path(), "U", list, window));
    EXPECT_EQ(list, Found(temp, {"A/a.u", "A/B/b.u", "A/B/toC/c.u", "A/dangling.u", "A/linked.u",
                                 "A/toC/c.u", "A/toC/toB/b.u", "C/c.u", "C/toB/b.u", "z.u"}));
}

TEST(LinuxPass, CopiesOddByteNamesAndNeverWritesThroughALinkAtTheDestination) {
    Pass p;
    const std::string odd = "\xff\xfe-\x80name.ukx";
    p.temp.AddFile("add/" + odd, "odd bytes");
    p.temp.AddFile("add/map.rv2");
    p.temp.AddFile("add/ghost.utx");
    p.temp.AddFile("elsewhere/keep.rv2", "precious");
    fs::create_symlink(p.temp.Path("elsewhere/keep.rv2"), p.Game("Maps/map.rv2"));
    fs::create_symlink(p.temp.Path("elsewhere/none"), p.Game("Textures/ghost.utx"));
    p.installer.cmd_read_Click();
    EXPECT_EQ(p.Status(), "1 File(s) are ready to write - 3 File(s) checked!");
    p.installer.cmd_write_Click();
    EXPECT_EQ(p.Status(), "Ready to play - 1 File(s) written!");
    EXPECT_EQ(ReadWhole(p.Game("Animations/" + odd)), "odd bytes");
    EXPECT_EQ(NamesIn(p.temp.Path("elsewhere")), (std::vector<std::string>{"keep.rv2"}));
    EXPECT_EQ(ReadWhole(p.temp.Path("elsewhere/keep.rv2")), "precious");
}

// A receipt that does not fit on the disk (here: over the process's file size limit) is not
// stored at all, and the write pass says so; the files it copied stay.
TEST(ReceiptOnAFullDisk, IsNeitherStoredInPartNorSilentlyMissing) {
    Pass pass;
    pass.temp.AddFile("add/a.rv2");
    pass.installer.ReceiptFolder = pass.temp.Path("receipts");
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    pass.installer.cmd_write_Click();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(pass.Status(), "Ready to play - 1 File(s) written!");
    EXPECT_NE(pass.ToolTip().find("No receipt was saved"), std::string::npos) << pass.ToolTip();
    EXPECT_NE(pass.installer.LastReceiptProblem().find("the disk is full"), std::string::npos);
    EXPECT_EQ(NamesIn(pass.temp.Path("receipts")), std::vector<std::string>{});
    EXPECT_EQ(ReadWhole(pass.Game("Maps/a.rv2")), "data");
}

}  // namespace
}  // namespace rv::test
