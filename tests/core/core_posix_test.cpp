#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
#include "pass_fixture.h"
#include "support/file_size_limit.h"

namespace rv::test {
namespace {

using enum Category;
namespace fs = std::filesystem;

TEST(FindFilesOnLinks, WalksLinkedFoldersButNeverBackIntoTheCurrentPath) {
    struct Case {
        std::string title;
        std::vector<std::pair<std::string, std::string>> links;  // link, target
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"links to the folder itself and to ancestors are not entered",
         {{"A/self", "."}, {"A/up", ".."}, {"A/B/top", "../.."}},
         {"A/a.u", "A/B/b.u", "z.u"}},
        {"a link to a folder elsewhere is walked every time it is met",
         {{"A/toC", "../C"}, {"A/B/toC", "../../C"}},
         {"A/a.u", "A/B/b.u", "A/B/toC/c.u", "A/toC/c.u", "C/c.u", "z.u"}},
        {"links to files count as files, dangling ones too",
         {{"A/linked.u", "../z.u"}, {"A/dangling.u", "nowhere"}},
         {"A/a.u", "A/B/b.u", "A/dangling.u", "A/linked.u", "z.u"}},
        {"a loop through two links stops at the first folder seen again",
         {{"A/B/toC", "../../C"}, {"C/toB", "../A/B"}},
         {"A/a.u", "A/B/b.u", "A/B/toC/c.u", "C/c.u", "C/toB/b.u", "z.u"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder temp;
        for (const char* file : {"A/a.u", "A/B/b.u", "z.u"}) {
            temp.AddFile(file);
        }
        for (const auto& [link, target] : c.links) {
            if (target.find('C') != std::string::npos) {
                temp.AddFile("C/c.u");
            }
            fs::create_symlink(target, temp.Path(link));
        }
        RecordingWindow window;
        FoundList list(1);
        ASSERT_TRUE(FindFiles(temp.Path(), "U", list, window));
        FoundList expected;
        for (const auto& entry : c.entries) {
            expected.push_back("    " + temp.Path(entry));
        }
        expected.emplace_back();
        EXPECT_EQ(list, expected);
    }
}

class PosixPass : public PassTest {};

TEST_F(PosixPass, NamesThatAreNotUtf8AreFoundCountedAndCopiedUnchanged) {
    const std::string odd = "\xff\xfe-\x80name.ukx";
    AddOn(odd, "odd bytes");
    installer.cmd_read_Click();
    EXPECT_EQ(Caption(Animations, CounterKind::Ready), "1");
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 1 File(s) written!");
    EXPECT_EQ(ReadWhole(GamePath("Animations/" + odd)), "odd bytes");
}

TEST_F(PosixPass, ALinkAtTheDestinationIsNeverWrittenThrough) {
    AddOn("map.rv2");
    AddOn("ghost.utx");
    temp.AddFile("elsewhere/keep.rv2", "precious");
    fs::create_symlink(temp.Path("elsewhere/keep.rv2"), GamePath("Maps/map.rv2"));
    fs::create_symlink(temp.Path("elsewhere/none"), GamePath("Textures/ghost.utx"));
    installer.cmd_read_Click();
    EXPECT_EQ(Status(), "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!");
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 0 File(s) written!");
    EXPECT_EQ(NamesIn(temp.Path("elsewhere")), (std::vector<std::string>{"keep.rv2"}));
    EXPECT_EQ(ReadWhole(temp.Path("elsewhere/keep.rv2")), "precious");
}

TEST_F(PosixPass, ACopyThatFailsMidwayLeavesNothingAndIsNotCounted) {
    AddOn("huge.utx", std::string(1 << 20, 'h'));
    AddOn("small.utx", "small");
    {
        FileSizeLimit limit(64 * 1024);
        installer.cmd_write_Click();
    }
    EXPECT_EQ(Status(), "Write incomplete - 1 File(s) written - 1 File(s) failed!");
    EXPECT_EQ(NamesIn(GamePath("Textures")), (std::vector<std::string>{"small.utx"}));
    EXPECT_EQ(Caption(Textures, CounterKind::Written), "1");
    EXPECT_EQ(ToolTip().rfind(AddPath("huge.utx") + ": ", 0), 0U) << ToolTip();
}

}  // namespace
}  // namespace rv::test
