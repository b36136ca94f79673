#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
#include "pass_fixture.h"

namespace rv::test {
namespace {

using enum Category;
namespace fs = std::filesystem;

// The bare paths of the entries, below the given folder.
std::vector<std::string> Relative(const FoundList& list, const std::string& root) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        paths.push_back(list[i].substr(kEntryIndent.size() + root.size() + 1));
    }
    return paths;
}

TEST(FindFilesOnLinks, WalksLinkedFoldersButNeverBackIntoTheCurrentPath) {
    struct Case {
        std::string title;
        std::vector<std::pair<std::string, std::string>> links;  // link -> target
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"a link to the folder itself and one to its parent are not entered",
         {{"A/self", "."}, {"A/up", ".."}, {"A/B/top", "../.."}},
         {"A/a.u", "A/B/b.u", "z.u"}},
        {"a link to a folder elsewhere is walked like a folder, every time it is met",
         {{"A/toC", "../C"}, {"A/B/toC", "../../C"}},
         {"A/a.u", "A/B/b.u", "A/B/toC/c.u", "A/toC/c.u", "C/c.u", "z.u"}},
        {"a link to a file counts as a file; a dangling one too",
         {{"A/linked.u", "../z.u"}, {"A/dangling.u", "nowhere"}},
         {"A/a.u", "A/B/b.u", "A/dangling.u", "A/linked.u", "z.u"}},
        {"a loop through two links stops at the first folder seen again",
         {{"A/B/toD", "../../D"}, {"D/toB", "../A/B"}},
         {"A/a.u", "A/B/b.u", "A/B/toD/d.u", "D/d.u", "D/toB/b.u", "z.u"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempFolder temp;
        temp.AddFile("A/a.u");
        temp.AddFile("A/B/b.u");
        temp.AddFile("z.u");
        for (const auto& [link, target] : c.links) {
            const fs::path at(temp.Path(link));
            fs::create_directories(at.parent_path());
            if (target.find("C") != std::string::npos) {
                temp.AddFile("C/c.u");
            }
            if (target.find("D") != std::string::npos) {
                temp.AddFile("D/d.u");
            }
            fs::create_symlink(target, at);
        }
        RecordingWindow window;
        FoundList list(1);
        ASSERT_TRUE(FindFiles(temp.Path(), "U", list, window));
        EXPECT_EQ(Relative(list, temp.Path()), c.entries);
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
    EXPECT_EQ(ReadWhole(temp.Path("game/Animations/" + odd)), "odd bytes");
    installer.cmd_read_Click();
    EXPECT_EQ(Caption(Animations, CounterKind::Exist), "1");
}

TEST_F(PosixPass, ALinkAtTheDestinationIsNeverWrittenThrough) {
    AddOn("map.rv2", "add-on");
    temp.AddFile("elsewhere/keep.rv2", "precious");
    fs::create_symlink(temp.Path("elsewhere/keep.rv2"), temp.Path("game/Maps/map.rv2"));
    AddOn("ghost.utx", "add-on");
    fs::create_symlink(temp.Path("elsewhere/none"), temp.Path("game/Textures/ghost.utx"));

    installer.cmd_read_Click();
    EXPECT_EQ(Status(), "No Data to write - 2 File(s) loaded - 2 File(s) already exisit!");
    installer.cmd_write_Click();
    EXPECT_EQ(Status(), "Ready to play - 0 File(s) written!");
    EXPECT_EQ(ReadWhole(temp.Path("elsewhere/keep.rv2")), "precious");
    EXPECT_FALSE(Exists(temp.Path("elsewhere/none")));
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

TEST_F(PosixPass, ACopyThatFailsMidwayLeavesNothingAndIsNotCounted) {
    AddOn("huge.utx", std::string(1 << 20, 'h'));
    AddOn("small.utx", "small");
    AddOn("tiny.rv2", "tiny");
    {
        FileSizeLimit limit(64 * 1024);
        installer.cmd_write_Click();
    }
    EXPECT_EQ(Status(), "Write incomplete - 2 File(s) written - 1 File(s) failed!");
    EXPECT_EQ(NamesIn(temp.Path("game/Textures")), (std::vector<std::string>{"small.utx"}))
        << "no partial file under any name";
    EXPECT_EQ(Caption(Textures, CounterKind::Written), "1");
    EXPECT_EQ(installer.Counters().Total(CounterKind::Written), 2);
    EXPECT_EQ(window.ToolTip("lbl_status").rfind(temp.Path("add/huge.utx") + ": ", 0), 0U);
    EXPECT_EQ(window.ToolTip("lbl_status").find('\n'), std::string::npos) << "one failure";
}

}  // namespace
}  // namespace rv::test
