#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
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

}  // namespace
}  // namespace rv::test
