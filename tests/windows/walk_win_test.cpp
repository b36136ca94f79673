#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/find_files.h"
#include "core/installer.h"
#include "support/recording_window.h"
#include "windows/scratch_folder.h"

namespace rv::test {
namespace {

const std::string kCyrillicMap = "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0 \xCE\xA9.rv2";
const std::string kCjkFolder = "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x8E\xAE";

// An add-on folder Add as drive-letter path with backslashes, such as C:\...\Temp\rv-1-1\Add.
void MakeAddOn(const ScratchFolder& scratch) {
    scratch.WriteFile("Add/a.ukx", "a");
    scratch.WriteFile("Add/Sub/b.ukx", "b");
    scratch.WriteFile("Add/c.ukx", "c");
    scratch.WriteFile("Add/Maps.ukx/d.rv2", "d");
    scratch.WriteFile("Add/" + kCjkFolder + "/" + kCyrillicMap, "map");
}

TEST(FindFilesOnWindows, GivesOneBackslashBetweenTheFolderAndTheRestHoweverItEnds) {
    ScratchFolder scratch;
    MakeAddOn(scratch);
    const std::string add = scratch.Under("Add");
    const std::string entry = std::string(kEntryIndent) + add + "\\";

    const struct {
        const char* pattern;
        std::vector<std::string> found;
    } cases[] = {
        {"UKX", {entry + "a.ukx", entry + "c.ukx", entry + "Sub\\b.ukx"}},
        {"RV2", {entry + "Maps.ukx\\d.rv2", entry + kCjkFolder + "\\" + kCyrillicMap}},
        {"*",
         {entry + "a.ukx", entry + "c.ukx", entry + "Maps.ukx\\d.rv2", entry + "Sub\\b.ukx",
          entry + kCjkFolder + "\\" + kCyrillicMap}},
    };
    for (const auto& item : cases) {
        for (const std::string& folder : {add, add + "\\"}) {
            SCOPED_TRACE(folder + " with pattern " + item.pattern);
            RecordingWindow window;
            FoundList list{""};
            ASSERT_TRUE(FindFiles(folder, item.pattern, list, window));
            std::vector<std::string> expected = item.found;
            expected.emplace_back();
            EXPECT_EQ(list, expected);
            EXPECT_EQ(window.yields, 4) << "one yield on entry to each of the four folders";
        }
    }
}

TEST(PassesOnWindows, CopyNonAnsiNamesAndNeverReplaceAnInstalledFile) {
    ScratchFolder scratch;
    MakeAddOn(scratch);
    for (const char* sub :
         {"Animations", "Maps", "Music", "Sounds", "StaticMeshes", "System", "Textures"}) {
        scratch.MakeFolder(std::string("Game/") + sub);
    }
    scratch.WriteFile("Game/Animations/A.UKX", "installed");
    RecordingWindow window;
    RV2003_2004_Add_On_Installer installer(window);
    installer.AddOnFolder = scratch.Under("Add") + "\\";
    installer.GameFolder = scratch.Under("Game");

    installer.cmd_read_Click();
    EXPECT_EQ(window.Caption({"lbl_status"}), "4 File(s) are ready to write - 5 File(s) checked!");
    installer.cmd_write_Click();

    EXPECT_EQ(window.Caption({"lbl_status"}), "Ready to play - 4 File(s) written!");
    const struct {
        std::string path;
        std::string content;
    } game[] = {
        {"Game/Animations/A.UKX", "installed"}, {"Game/Animations/b.ukx", "b"},
        {"Game/Animations/c.ukx", "c"},         {"Game/Maps/d.rv2", "d"},
        {"Game/Maps/" + kCyrillicMap, "map"},
    };
    for (const auto& file : game) {
        SCOPED_TRACE(file.path);
        EXPECT_EQ(ReadWholeFile(scratch.Under(file.path)), file.content);
    }
    std::vector<std::string> animations;
    for (const auto& item :
         std::filesystem::directory_iterator(Native(scratch.Under("Game/Animations")))) {
        const std::u8string name = item.path().filename().u8string();
        animations.emplace_back(name.begin(), name.end());
    }
    std::sort(animations.begin(), animations.end());
    EXPECT_EQ(animations, (std::vector<std::string>{"A.UKX", "b.ukx", "c.ukx"}));
}

}  // namespace
}  // namespace rv::test
