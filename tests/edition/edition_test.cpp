// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "edition/edition_selection.h"
#include "edition/in_memory_registry.h"
#include "edition/reg_value_get.h"
#include "support/recording_window.h"
#include "text/text.h"

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

// The start-up and the switch leave the chain at its start, every counter at "0" and the edition's
// texts with its folder or prompt; the window scenarios check the texts of both editions. Here:
// how the registry's value becomes the game folder, and which caption switches to which edition.
struct Fixture {
    test::RecordingWindow window;
    test::InMemoryRegistry registry;
    RV2003_2004_Add_On_Installer installer{window};
    EditionSelection selection{window, installer, registry};
    std::string Chain() {
        return std::string(window.Enabled("cmd_Open1") ? "1" : "") +
               (window.Enabled("cmd_Open2") ? "2" : "") + (window.Enabled("cmd_read") ? "r" : "") +
               (window.Enabled("cmd_write") ? "w" : "");
    }
};

// Form_Load shows RV2004. The folder loses the NUL and trailing spaces the reader adds, nothing
// else, and ends at a NUL inside; an empty or unreadable one leaves the prompt and the old
// GameFolder.
TEST(FormLoad, ShowsTheCleanedFolderOrThePrompt) {
    const std::vector<std::tuple<std::uint32_t, std::string, std::string>> cases = {
        {1, "C:\\G\\\0"s, "C:\\G\\"},
        {1, "C:\\G  \0"s, "C:\\G  "},
        {1, "C:\\G  ", "C:\\G"},
        {1, "C:\\G\t", "C:\\G\t"},
        {1, "C:\\G\0junk\0"s, "C:\\G"},
        {1, "\0C:\\G\0"s, ""},
        {4, "\xFF\xFF\xFF\xFF", "-1"},
        {1, "\0"s, ""},
        {1, "   ", ""},
        {2, "C:\\G\0"s, ""}};
    for (const auto& [type, data, folder] : cases) {
        SCOPED_TRACE(data);
        Fixture f;
        f.registry.values["Folder"] = {type, {data.begin(), data.end()}};
        f.installer.GameFolder = "before";
        f.window.enabled = {{"cmd_read", true}, {"cmd_write", true}};
        f.selection.Form_Load();
        EXPECT_EQ(
            f.window.Caption({names::lbl_folder}),
            folder.empty() ? "Please open your Ravager 2004 Folder" : text::ShownName(folder));
        EXPECT_EQ(f.Chain(), folder.empty() ? "1" : "2");
        EXPECT_EQ(f.window.ToolTip("lbl_folder"), folder.empty() ? "" : "memory");
        EXPECT_EQ(f.installer.GameFolder, folder.empty() ? "before" : folder);
    }
}

// Only the exact caption offering RV2003 switches to it (only RV2004 is registered); every press
// looks the folder up afresh and resets the counters.
TEST(GameChange, FollowsTheButtonCaption) {
    Fixture f;
    f.registry.values["Folder"] = {1, {'C', ':', '\\', 'R', 'V', 0}};
    for (const auto& [caption, year] :
         std::vector<std::pair<std::string, std::string>>{{"Do you want RV 2004 ?", "2004"},
                                                          {"Do you want RV 2003 ?", "2003"},
                                                          {"do you want RV 2003 ?", "2004"},
                                                          {"Do you want RV 2003 ? ", "2004"}}) {
        SCOPED_TRACE(caption);
        f.window.captions[std::string(names::cmd_gameChange)] = caption;
        f.window.captions["lbl_MapCounter(2)"] = "7";
        f.selection.cmd_gameChange_Click();
        EXPECT_EQ(f.window.Caption({names::Frame2}), "Ravager " + year + " is installed here:");
        EXPECT_EQ(f.window.Caption({names::lbl_folder}),
                  year == "2003" ? "Please open your Ravager 2003 Folder" : "C:\\RV");
        EXPECT_EQ(f.window.Caption({names::lbl_MapCounter, 2}), "0");
    }
}

}  // namespace
}  // namespace rv
