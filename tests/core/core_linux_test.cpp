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

}  // namespace
}  // namespace rv::test
