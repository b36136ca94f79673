#include <gtest/gtest.h>

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

// A text comes back as its bytes and one space, a number of up to four bytes as signed; on any
// failure the first failing code and the value as passed; the key is closed all the same.
TEST(RegValueGet, ReadsTextsAndNumbersInTheirExactShapeAndKeepsValueOnEveryOtherPath) {
    const RegValue kUntouched = "as the caller passed it"s;
    // Type (0: a value of another name), data, calls to fail, result, value.
    const std::vector<std::tuple<std::uint32_t, std::string, std::map<char, std::int32_t>,
                                 std::int32_t, RegValue>>
        cases = {
            {1, "C:\\G\0"s, {}, 0, "C:\\G\0 "s},
            {1, "", {}, 0, " "s},
            {4, "\xFE\xFF\xFF\xFF", {}, 0, std::int32_t{-2}},
            {4, "\x34\x12", {}, 0, std::int32_t{0x1234}},
            {2, "%\0"s, {}, 0, kUntouched},
            {1, "C:", {{'o', 5}}, 5, kUntouched},
            {0, "", {{'c', 6}}, 2, kUntouched},
            {1, "C:", {{'d', 234}}, 234, kUntouched},
            {1, "C\0"s, {{'c', 6}}, 6, "C\0 "s},
        };
    for (const auto& [type, data, fails, result, expected] : cases) {
        SCOPED_TRACE(data);
        test::InMemoryRegistry registry;
        registry.values[type != 0 ? "Folder" : "Other"] = {type, {data.begin(), data.end()}};
        registry.fails = fails;
        RegValue value = kUntouched;
        EXPECT_EQ(
            RegValueGet(registry, platform::kHKeyLocalMachine, registry.kKey, "Folder", value),
            result);
        EXPECT_EQ(value, expected);
        EXPECT_EQ(registry.open_handles, 0) << "a key was left open";
        EXPECT_EQ(registry.access, 25u);  // query values, list sub-keys, notify
    }
}

// What the window shows after the start-up or a switch: texts of one edition, the game folder or
// the prompt, the button chain, and every counter back at "0" (the test starts them at "7").
void ExpectShown(const test::RecordingWindow& window, int year, const std::string& folder) {
    const std::string y = std::to_string(year);
    EXPECT_EQ(window.Caption({names::RV2003_2004_Add_On_Installer}),
              "Unofficial RV" + y + " Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
    EXPECT_EQ(window.Caption({names::Frame2}), "Ravager " + y + " is installed here:");
    EXPECT_EQ(window.Caption({names::cmd_gameChange}),
              year == 2003 ? "Do you want RV 2004 ?" : "Do you want RV 2003 ?");
    EXPECT_EQ(window.Caption({names::lbl_folder}),
              folder.empty() ? "Please open your Ravager " + y + " Folder" : folder);
    std::string chain;
    for (std::string_view button :
         {names::cmd_Open1, names::cmd_Open2, names::cmd_read, names::cmd_write}) {
        chain += window.Enabled(std::string(button)) ? std::string(button) + " " : "";
    }
    EXPECT_EQ(chain, folder.empty() ? "cmd_Open1 " : "cmd_Open2 ");
    int zeros = 0;
    for (const auto& [key, caption] : window.captions) {
        zeros += key.find("Counter(") != std::string::npos && caption == "0";
    }
    EXPECT_EQ(zeros, 28);
}

struct Fixture {
    Fixture() {
        for (std::string_view button :
             {names::cmd_Open1, names::cmd_Open2, names::cmd_read, names::cmd_write}) {
            window.enabled[std::string(button)] = true;
        }
        for (const CategoryInfo& info : kCategories) {
            for (int group = 0; group < 4; ++group) {
                window.captions[test::RecordingWindow::Key({info.counter_label, group})] = "7";
            }
        }
    }
    test::RecordingWindow window;
    test::InMemoryRegistry registry;
    RV2003_2004_Add_On_Installer installer{window};
    EditionSelection selection{window, installer, registry};
};

// Form_Load shows RV2004. The folder loses the NUL and trailing spaces the reader adds, nothing
// else; an empty or unreadable one leaves the prompt and the old GameFolder.
TEST(FormLoad, ResetsThenShowsTheCleanedFolderOrThePrompt) {
    const std::vector<std::tuple<std::uint32_t, std::string, std::string>> cases = {
        {1, "C:\\G\\\0"s, "C:\\G\\"},
        {1, "C:\\G  \0"s, "C:\\G  "},
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
        ExpectShown(f.window, 2004, folder);
        EXPECT_EQ(f.installer.GameFolder, folder.empty() ? "before" : folder);
    }
}

// Only the exact caption offering RV2003 switches to it (only RV2004 is registered); every press
// looks the folder up afresh and leaves the status line and the last found GameFolder.
TEST(GameChange, FollowsTheButtonCaptionAndResetsTheChainEachTime) {
    Fixture f;
    f.registry.values["Folder"] = {1, {'C', ':', '\\', 'R', 'V', 0}};
    for (const auto& [caption, year] :
         std::vector<std::pair<std::string, int>>{{"Do you want RV 2004 ?", 2004},
                                                  {"Do you want RV 2003 ?", 2003},
                                                  {"do you want RV 2003 ?", 2004},
                                                  {"Do you want RV 2003 ? ", 2004}}) {
        SCOPED_TRACE(caption);
        f.window.captions[std::string(names::cmd_gameChange)] = caption;
        f.window.captions[std::string(names::lbl_status)] = "Ready";
        f.selection.cmd_gameChange_Click();
        ExpectShown(f.window, year, year == 2003 ? "" : "C:\\RV");
        EXPECT_EQ(f.window.Caption({names::lbl_status}), "Ready");
        EXPECT_EQ(f.installer.GameFolder, "C:\\RV");
    }
}

}  // namespace
}  // namespace rv
