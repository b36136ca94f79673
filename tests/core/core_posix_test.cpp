#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
#include "pass_fixture.h"

namespace rv::test {
namespace {

namespace fs = std::filesystem;

// Links to folders are walked each time they are met, except back into the current path;
// links to files count as files, dangling ones too.
TEST(FindFilesOnLinks, WalksLinkedFoldersButNeverBackIntoTheCurrentPath) {
    const std::vector<
        std::pair<std::vector<std::pair<std::string, std::string>>, std::vector<std::string>>>
        cases = {{{{"A/self", "."},
                   {"A/up", ".."},
                   {"A/B/top", "../.."},
                   {"A/dangling.u", "nowhere"},
                   {"A/linked.u", "../z.u"}},
                  {"A/a.u", "A/B/b.u", "A/dangling.u", "A/linked.u", "C/c.u", "z.u"}},
                 {{{"A/toC", "../C"}, {"A/B/toC", "../../C"}, {"C/toB", "../A/B"}},
                  {"A/a.u", "A/B/b.u", "A/B/toC/c.u", "A/toC/c.u", "A/toC/toB/b.u", "C/c.u",
                   "C/toB/b.u", "z.u"}}};
    for (const auto& [links, entries] : cases) {
        TempFolder temp;
        for (const char* file : {"A/a.u", "A/B/b.u", "C/c.u", "z.u"}) {
            temp.AddFile(file);
        }
        for (const auto& [link, target] : links) {
            fs::create_symlink(target, temp.Path(link));
        }
        RecordingWindow window;
        FoundList list(1);
        ASSERT_TRUE(FindFiles(temp.Path(), "U", list, window));
        EXPECT_EQ(list, Found(temp, entries));
    }
}

TEST(PosixPass, CopiesOddByteNamesAndNeverWritesThroughALinkAtTheDestination) {
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
