#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "edition/edition_selection.h"
#include "edition/in_memory_registry.h"
#include "edition/reg_value_get.h"
#include "support/recording_window.h"

namespace rv {
namespace {

using namespace std::string_literals;

const std::string kKey2003 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003";
const std::string kKey2004 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kAsked03 = "Do you want RV 2003 ?", kAsked04 = "Do you want RV 2004 ?";

// A text comes back as its bytes and one space, a number of up to four bytes as signed; on any
// failure the first failing code, the value as passed, and the key closed all the same.
TEST(RegValueGet, ReadsTextsAndNumbersInTheirExactShapeAndKeepsValueOnEveryOtherPath) {
    const RegValue kUntouched = "as the caller passed it"s;
    // Type (0: a value of another name), data, calls to fail, result, value, calls made.
    const std::vector<std::tuple<std::uint32_t, std::string, std::map<char, std::int32_t>,
                                 std::int32_t, RegValue, std::string>>
        cases = {
            {1, "C:\\G\0"s, {}, 0, "C:\\G\0 "s, "osd5c"},
            {1, "C:", {}, 0, "C: "s, "osd2c"},
            {1, "", {}, 0, " "s, "osd0c"},
            {4, "\xFE\xFF\xFF\xFF", {}, 0, std::int32_t{-2}, "osd4c"},
            {4, "\x34\x12", {}, 0, std::int32_t{0x1234}, "osd2c"},
            {2, "%\0"s, {}, 0, kUntouched, "osc"},
            {1, "C:", {{'o', 5}}, 5, kUntouched, "o"},
            {0, "", {{'c', 6}}, 2, kUntouched, "osc"},
            {1, "C:", {{'d', 234}}, 234, kUntouched, "osd2c"},
            {4, "\7\0\0\0"s, {{'d', 1}}, 1, kUntouched, "osd4c"},
            {1, "C\0"s, {{'c', 6}}, 6, "C\0 "s, "osd2c"},
        };
    for (const auto& [type, data, fails, result, expected, calls] : cases) {
        SCOPED_TRACE(calls + " " + data);
        test::InMemoryRegistry registry;
        registry.values[type != 0 ? "Folder" : "Other"] = {type, {data.begin(), data.end()}};
        registry.fails = fails;
        RegValue value = kUntouched;
        EXPECT_EQ(RegValueGet(registry, platform::kHKeyLocalMachine, kKey2004, "Folder", value),
                  result);
        EXPECT_EQ(value, expected);
        EXPECT_EQ(registry.calls, calls);
        EXPECT_EQ(registry.open_handles, 0) << "a key was left open";
        EXPECT_EQ(registry.opened, kKey2004 + " 25");  // query values, list sub-keys, notify
    }
}

struct Fixture {
    test::RecordingWindow window;
    test::InMemoryRegistry registry;
    RV2003_2004_Add_On_Installer installer{window};
    EditionSelection selection{installer, registry};
};

// A reset and the showing of an edition: the buttons, the 28 counters at zero, then the edition's
// texts with its folder, or with its prompt when there is none.
void ExpectResetThenShown(std::vector<std::string> log, bool rv2003, const std::string& folder) {
    ASSERT_EQ(log.size(), 38u);
    EXPECT_TRUE(std::all_of(log.begin() + 3, log.begin() + 31, [](const std::string& line) {
        return line.find("Counter(") != std::string::npos && line.ends_with(" = 0");
    }));
    log.erase(log.begin() + 3, log.begin() + 31);
    const std::string year = rv2003 ? "2003" : "2004";
    const bool found = !folder.empty();
    EXPECT_EQ(log, (std::vector<std::string>{
                       "enabled cmd_read = 0", "enabled cmd_Open1 = 1", "enabled cmd_write = 0",
                       "caption Frame2 = Ravager " + year + " is installed here:",
                       "caption RV2003_2004_Add_On_Installer = Unofficial RV" + year +
                           " Add-On Installer (Maps, Mutators, Weapons, Skins, ...)",
                       "caption lbl_folder = " +
                           (found ? folder : "Please open your Ravager " + year + " Folder"),
                       "enabled cmd_Open1 = "s + (found ? "0" : "1"),
                       "enabled cmd_Open2 = "s + (found ? "1" : "0"),
                       "tooltip lbl_folder = "s + (found ? "memory" : ""),
                       "caption cmd_gameChange = " + (rv2003 ? kAsked04 : kAsked03)}));
}

// Form_Load shows RV2004. The folder loses the NUL and trailing spaces the reader adds, nothing
// else; an empty or unreadable one leaves the prompt and the old GameFolder.
TEST(FormLoad, ResetsThenShowsTheCleanedFolderOrThePrompt) {
    const std::vector<std::tuple<std::uint32_t, std::string, std::string>> cases = {
        {1, "C:\\G\\\0"s, "C:\\G\\"},
        {1, "C:\\G  \0"s, "C:\\G  "},
        {1, "C:\\Game", "C:\\Game"},
        {1, "C:\\G  ", "C:\\G"},
        {1, "C:\\G\t", "C:\\G\t"},
        {4, "\xFF\xFF\xFF\xFF", "-1"},
        {1, "\0"s, ""},
        {1, "   ", ""},
        {2, "C:\\G\0"s, ""}};
    for (const auto& [type, data, folder] : cases) {
        SCOPED_TRACE(data);
        Fixture f;
        f.registry.values["Folder"] = {type, {data.begin(), data.end()}};
        f.installer.GameFolder = "before";
        f.selection.Form_Load();
        ExpectResetThenShown(f.window.log, false, folder);
        EXPECT_EQ(f.installer.GameFolder, folder.empty() ? "before" : folder);
    }
}

// Only the exact caption offering RV2003 switches to it; every press looks the folder up afresh
// and keeps the other texts and the last found GameFolder.
TEST(GameChange, FollowsTheButtonCaptionAndResetsTheChainEachTime) {
    Fixture f;
    f.registry.values["Folder"] = {1, {'C', ':', '\\', 'R', 'V', 0}};
    for (const auto& [caption, to2003] :
         std::vector<std::pair<std::string, bool>>{{kAsked04, false},
                                                   {kAsked03, true},
                                                   {"do you want RV 2003 ?", false},
                                                   {kAsked03 + " ", false}}) {
        SCOPED_TRACE(caption);
        f.window.captions = {{"cmd_gameChange", caption}, {"lbl_status", "Ready"}};
        f.window.log.clear();
        f.registry.calls.clear();
        f.selection.cmd_gameChange_Click();
        ExpectResetThenShown(f.window.log, to2003, to2003 ? "" : "C:\\RV");
        EXPECT_EQ(f.registry.calls, to2003 ? "o" : "osd6c");
        EXPECT_EQ(f.registry.opened, (to2003 ? kKey2003 : kKey2004) + " 25");
        EXPECT_EQ(f.window.captions["lbl_status"], "Ready");
        EXPECT_EQ(f.installer.GameFolder, "C:\\RV");
    }
}

}  // namespace
}  // namespace rv
