// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "form/form_view.h"
#include "platform/file_system.h"
#include "support/sample_addon.h"
#include "support/temp_folder.h"
#include "window/window_driver.h"

namespace rv::test {
namespace {

using testing::AllOf, testing::EndsWith, testing::HasSubstr, testing::StartsWith;

// A window over a sample add-on in both editions' game folders <root>/Games/<edition>, with RV2004
// (or RV2003, when asked) registered.
class WindowScenario : public ::testing::Test {
protected:
    void Start(const std::string& registered = "RV2004",
               const std::vector<std::string>& arguments = {}) {
        for (const char* edition : {"RV2003", "RV2004"}) {
            MakeSampleAddOn(addon_, Game(edition));
        }
        w_->SetRegistered({{registered, Game(registered)}});
        w_->Start(arguments);
    }
    std::string Game(const std::string& edition = "RV2004") const {
        return Join(w_->Root(), "Games" + std::string(1, platform::kPathSeparator) + edition);
    }
    static std::string Join(const std::string& folder, const std::string& name) {
        return folder + platform::kPathSeparator + Native(name);
    }
    // The text with each '/' as the platform's separator.
    static std::string Native(std::string text) {
        std::replace(text.begin(), text.end(), '/', platform::kPathSeparator);
        return text;
    }
    void Click(std::string_view button) { w_->Click(button); }
    void Pick(std::string_view button, const std::string& folder) {
        w_->AnswerPicker(folder);
        w_->Click(button);
    }
    // The enabled buttons of the chain, e.g. "cmd_Open2 cmd_read".
    std::string Chain() const {
        std::string chain;
        for (std::string_view name :
             {names::cmd_Open1, names::cmd_Open2, names::cmd_read, names::cmd_write}) {
            chain += w_->Enabled({name}) ? std::string(chain.empty() ? "" : " ") + std::string(name)
                                         : "";
        }
        return chain;
    }
    // The four counter groups in category order, e.g. "1111171 0000000 0100010 1011161".
    std::string Counts() const {
        std::string counts;
        for (int group = 0; group < 4; ++group) {
            counts += group > 0 ? " " : "";
            for (const CategoryInfo& info : kCategories) {
                counts += w_->Caption({info.counter_label, group});
            }
        }
        return counts;
    }
    // Every caption and Enabled state, to tell that nothing changed.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> state{
            {"title", w_->Caption({names::RV2003_2004_Add_On_Installer})}};
        for (const ShownControl& c : w_->Controls()) {
            const bool button = c.kind == "button";
            state[c.key] = c.caption + (!button ? "" : w_->Enabled({c.key}) ? "|on" : "|off");
        }
        return state;
    }
    std::string Status() const { return w_->Caption({names::lbl_status}); }
    // The Target cells of the dialog's rows shown, with '/' between folders.
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets, rows = w_->Rows();
        for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
            targets.push_back(Cell(*row, 2));
            std::replace(targets.back().begin(), targets.back().end(), platform::kPathSeparator,
                         '/');
        }
        return targets;
    }

    std::unique_ptr<WindowDriver> w_ = MakeWindowDriver();
    std::string addon_ = Join(w_->Root(), "Add-on ä & x");
};

// The controls by container, in creation order, with their captions after the start-up; where a
// sample of them stands; the keyboard's way through the buttons. Each link button opens its own
// page and changes nothing else.
TEST_F(WindowScenario, LayoutAndLinks) {
    Start();
    std::map<std::string, std::string> held;
    std::map<std::string, int> kinds;
    std::set<std::string> keys;
    for (const ShownControl& control : w_->Controls()) {
        held[control.container] += (held[control.container].empty() ? "" : "|") + control.caption;
        ++kinds[control.kind];
        keys.insert(control.key);
    }
    std::map<std::string, std::string> expected = {
        {"RV2003_2004_Add_On_Installer",
         "Ravager 2004 is installed here:|Open Mods, Maps, Mutators, ... Folder|Status|"
         "example.org|bbs.example.org|www.winehq.org|dl.example.org"},
        {"Frame2", "Open|" + w_->Shown(Game()) + "|Do you want RV 2003 ?"},
        {"Frame1", "Open|Read|Write|Please open Folder with Maps, Mutators, Skins, ..."},
        {"Frame3",
         "loaded ...|File(s) read:|File(s) already exist:|File(s) ready to write:|"
         "File(s) written:"}};
    for (int group = 0; group < 4; ++group) {
        expected["Frame4(" + std::to_string(group) + ")"] =
            "Animations:|0|Maps:|0|Musics:|0|Sounds:|0|StaticMeshes:|0|Systems:|0|Textures:|0";
    }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(kinds, (std::map<std::string, int>{{"button", 9}, {"frame", 7}, {"label", 59}}));
    EXPECT_EQ(keys.size(), 75u);
    EXPECT_EQ(w_->Caption({names::RV2003_2004_Add_On_Installer}),
              "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");

    const std::map<std::string, std::tuple<std::string, int, int, int, int>> sample = {
        {"Frame3", {"RV2003_2004_Add_On_Installer", 0, 105, 628, 166}},
        {"Command1", {"RV2003_2004_Add_On_Installer", 480, 276, 148, 22}},
        {"cmd_gameChange", {"Frame2", 471, 15, 148, 25}},
        {"lbl_Mods", {"Frame1", 171, 24, 448, 16}},
        {"Frame4(1)", {"Frame3", 471, 33, 151, 127}},
        {"Label4(2)", {"Frame4(2)", 30, 60, 61, 13}},
        {"Label8(0)", {"Frame4(1)", 12, 90, 79, 13}},
        {"lbl_TexturCounter(3)", {"Frame4(3)", 96, 105, 49, 13}},
    };
    for (const ShownControl& c : w_->Controls()) {
        if (sample.contains(c.key)) {
            EXPECT_EQ(std::tuple(c.container, c.left, c.top, c.width, c.height), sample.at(c.key))
                << c.key;
        }
    }
    EXPECT_EQ(w_->TabOrder(), (std::vector<std::string>{
                                  "cmd_Open2", "cmd_home1", "cmd_Open1", "cmd_read", "cmd_write",
                                  "cmd_home2", "cmd_home3", "Command1", "cmd_gameChange"}));

    const auto before = Snapshot();
    for (std::string_view button : {names::cmd_home1, names::cmd_home2, names::cmd_home3,
                                    names::Command1, names::cmd_home1}) {
        Click(button);
    }
    EXPECT_EQ(w_->OpenedLinks(),
              (std::vector<std::string>{"https://example.org/", "https://forum.example.org/",
                                        "https://www.winehq.org/", "https://files.example.org/",
                                        "https://example.org/"}));
    EXPECT_EQ(Snapshot(), before);
}

// Open with its warning box and picker, Read, Write: the add-on ends up in the game folder,
// replacing nothing that was there; the folder's name is shown as it stands. Then its receipt in
// Installed add-ons, beside a damaged receipt that cannot be removed: Remove asks once with what
// it will delete and keep; declined, nothing changes; agreed, it deletes the written files, keeps
// one changed since, and leaves the folders.
TEST_F(WindowScenario, WholeWorkflowByClicks) {
    Start();
    Pick(names::cmd_Open2, "  " + addon_ + "  ");
    EXPECT_EQ(w_->Dialogs(),
              (std::vector<std::string>{
                  "warning|Unofficial RV2004 Add-On Installer|Please choose the Folder with the "
                  "Maps, Mutators, Skins, Weapons, ...\r\nNO archives supported!|OK,no icon,modal",
                  "picker|Bitte den Startordner wählen!|folders only, no start folder, modal"}));
    EXPECT_EQ(w_->Caption({names::lbl_Mods}), addon_);
    EXPECT_EQ(Chain(), "cmd_Open2 cmd_read");

    Click(names::cmd_read);
    EXPECT_EQ(Status(), "11 File(s) are ready to write - 13 File(s) checked!");
    EXPECT_EQ(Counts(), "1111171 0000000 0100010 1011161");
    EXPECT_EQ(Chain(), "cmd_Open2 cmd_read cmd_write");
    EXPECT_FALSE(w_->Busy());

    Click(names::cmd_write);
    EXPECT_EQ(Status(), "Ready to play - 11 File(s) written!");
    EXPECT_EQ(Counts(), "1111171 1011161 0100010 1011161");
    EXPECT_EQ(ReadWhole(Join(Game(), "Textures/Harbour.utx")), "add-on Harbour.utx");

    const std::string changed = Join(Game(), "Textures/Harbour.utx");
    std::ofstream(NativePath(changed), std::ios::binary | std::ios::app) << " changed";
    const std::string dead = "1999-01-01T00-00-00.000Z-dead.json";
    std::ofstream(NativePath(Join(w_->ReceiptFolder(), dead))) << "{\"format\": ";
    ASSERT_TRUE(w_->ChooseMenuEntry(kInstalledAddOnsEntry, true));
    const auto rows = w_->Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "Add-on folder|Date|Files written|Still as written|Status");
    EXPECT_THAT(rows[1], AllOf(StartsWith(addon_ + "|20"), EndsWith(" UTC|11|10|installed")));
    EXPECT_THAT(rows[2], StartsWith(dead + "||||damaged ("));
    EXPECT_FALSE(w_->Remove(1));
    // While a receipt cannot be read, it may name any file: nothing is deleted.
    EXPECT_TRUE(w_->Remove(0));
    EXPECT_THAT(w_->Outcome(), StartsWith("Nothing was removed: the receipt " + dead));
    std::filesystem::remove(NativePath(Join(w_->ReceiptFolder(), dead)));

    const std::string kept = "Textures/Harbour.utx: changed since it was written";
    // The answer to the question and the outcome shown.
    const std::pair<bool, std::string> answers[] = {
        {false, "Nothing was removed."},
        {true, "Removed - 10 File(s) deleted - 1 File(s) kept!"},
    };
    for (const auto& [yes, outcome] : answers) {
        w_->AnswerQuestion(yes);
        EXPECT_TRUE(w_->Remove(0));
        // A short text, then the files one a line, named relative to the game folder.
        EXPECT_THAT(w_->Dialogs().back(),
                    AllOf(StartsWith("question|Remove add-on|Remove the add-on from " + addon_ +
                                     "?|Will be deleted (10):\n"),
                          HasSubstr("\nAnimations/Harbour.ukx\n"),
                          EndsWith("\nWill be kept (1):\n" + kept)));
        EXPECT_THAT(w_->Outcome(), AllOf(StartsWith(outcome), EndsWith(yes ? kept : outcome)));
        EXPECT_EQ(Exists(Join(Game(), "Animations/Harbour.ukx")), !yes);
    }
    EXPECT_EQ(ReadWhole(changed), "add-on Harbour.utx changed");
    EXPECT_EQ(ReadWhole(Join(Game(), "Maps/Harbour.rv2")), "installed");
    EXPECT_TRUE(Exists(Join(Game(), "Animations")));
    EXPECT_THAT(w_->Rows()[1], EndsWith("|11|0|removed"));
    EXPECT_FALSE(w_->Remove(0));
    w_->CloseDialog();
}

// After a read pass, no click that arrives while a pass yields gets through; a cancelled picker
// changes nothing, nor does a folder not found under the name given, which the status line then
// names. The edition switch resets the counters and the chain but keeps the add-on folder, and
// closing during a write pass stops it and closes the window.
TEST_F(WindowScenario, AfterAReadPass) {
    Start("RV2003");
    Pick(names::cmd_Open1, Game());
    Pick(names::cmd_Open2, addon_);
    Click(names::cmd_read);
    ASSERT_EQ(Chain(), "cmd_Open1 cmd_Open2 cmd_read cmd_write");
    EXPECT_EQ(w_->Caption({names::lbl_folder}), Game());
    const std::string missing = Join(w_->Root(), "Karten");
    const std::tuple<std::string_view, std::string, std::string, bool> cases[] = {
        {names::cmd_read, "", "", true},
        {names::cmd_write, "", "", true},
        {names::cmd_Open1, "", "", true},
        {names::cmd_Open2, "", "", true},
        {names::cmd_gameChange, "", "", true},
        {names::cmd_Open1, "", "", false},
        {names::cmd_Open2, "   ", "", false},
        {names::cmd_Open1, missing, "Folder not found under this name: " + missing, false},
    };
    for (const auto& [button, answer, status, in_pass] : cases) {
        SCOPED_TRACE(std::string(button) + " answered " + answer + (in_pass ? " in a pass" : ""));
        auto expected = Snapshot();
        expected["lbl_status"] = status.empty() ? expected["lbl_status"] : status;
        const auto dialogs = w_->Dialogs().size() + (in_pass ? 0 : 1 + (button == "cmd_Open2"));
        if (in_pass) {
            w_->AtNextYield([this, button] { Click(button); });
        }
        in_pass ? Click(names::cmd_read) : Pick(button, answer);
        EXPECT_EQ(Snapshot(), expected);
        EXPECT_EQ(w_->Dialogs().size(), dialogs);
    }
    EXPECT_FALSE(Exists(Join(Game(), "Textures/Harbour.utx")));

    Click(names::cmd_gameChange);
    EXPECT_EQ(w_->Caption({names::RV2003_2004_Add_On_Installer}),
              "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)");
    EXPECT_EQ(w_->Caption({names::Frame2}), "Ravager 2003 is installed here:");
    EXPECT_EQ(w_->Caption({names::cmd_gameChange}), "Do you want RV 2004 ?");
    EXPECT_EQ(w_->Caption({names::lbl_folder}), w_->Shown(Game("RV2003")));
    EXPECT_EQ(Counts(), "0000000 0000000 0000000 0000000");
    EXPECT_EQ(Chain(), "cmd_Open2");
    EXPECT_EQ(w_->Caption({names::lbl_Mods}), addon_);
    Click(names::cmd_gameChange);  // back to RV2004, which is not registered, and again to RV2003
    EXPECT_EQ(w_->Caption({names::lbl_folder}), "Please open your Ravager 2004 Folder");
    EXPECT_EQ(w_->Caption({names::cmd_gameChange}), "Do you want RV 2003 ?");
    Click(names::cmd_gameChange);
    Pick(names::cmd_Open2, addon_);
    Click(names::cmd_read);
    EXPECT_EQ(Status(), "11 File(s) are ready to write - 13 File(s) checked!");

    bool busy = false;
    w_->AtNextYield([&] {
        busy = w_->Busy();
        w_->Close();
        EXPECT_TRUE(w_->Open()) << "closed in the middle of the pass";
    });
    Click(names::cmd_write);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(w_->Open());
    EXPECT_FALSE(Exists(Join(Game("RV2003"), "Textures/Harbour.utx")));
}

// The start-up follows the registry, and the focus starts on the first enabled button. A folder
// given at the start is the add-on folder, as if picked; anything else shows the warning box and
// changes nothing. Only the first argument counts.
TEST_F(WindowScenario, StartUp) {
    const std::string readme = Join(addon_, "Readme.txt");
    const std::string gone = Join(w_->Root(), "gone");
    using Arguments = std::vector<std::string>;
    // Registered edition, arguments, the chain and the focus then, warning boxes shown.
    const std::tuple<std::string, Arguments, std::string, std::string, std::size_t> cases[] = {
        {"RV2004", {}, "cmd_Open2", "cmd_Open2", 0},
        {"RV2003", {}, "cmd_Open1", "cmd_home1", 0},
        {"RV2004", {addon_}, "cmd_Open2 cmd_read", "cmd_Open2", 0},
        {"RV2004", {addon_, readme}, "cmd_Open2 cmd_read", "cmd_Open2", 0},
        {"RV2004", {readme}, "cmd_Open2", "cmd_Open2", 1},
        {"RV2003", {gone, addon_}, "cmd_Open1", "cmd_home1", 1},
    };
    for (const auto& [registered, arguments, chain, focus, warnings] : cases) {
        SCOPED_TRACE(registered + " " + (arguments.empty() ? "" : arguments.front()));
        Start(registered, arguments);
        EXPECT_EQ(w_->Caption({names::lbl_folder}), registered == "RV2004"
                                                        ? w_->Shown(Game())
                                                        : "Please open your Ravager 2004 Folder");
        EXPECT_EQ(Chain(), chain);
        EXPECT_EQ(w_->Focused(), focus);
        EXPECT_EQ(w_->Dialogs().size(), warnings);
        EXPECT_EQ(w_->Caption({names::lbl_Mods}),
                  chain.ends_with("cmd_read")
                      ? addon_
                      : "Please open Folder with Maps, Mutators, Skins, ...");
        if (chain.ends_with("cmd_read")) {
            Click(names::cmd_read);
            EXPECT_EQ(Status(), "11 File(s) are ready to write - 13 File(s) checked!");
        }
    }
}

// A folder dropped onto the open window is the add-on folder, as the folder argument is; a file
// or several folders show the warning box and change nothing.
TEST_F(WindowScenario, DropAFolder) {
    Start();
    const std::string readme = Join(addon_, "Readme.txt");
    const std::vector<std::string> cases[] = {{readme}, {addon_, Game()}, {addon_}};
    for (const std::vector<std::string>& items : cases) {
        SCOPED_TRACE(items.front());
        auto expected = Snapshot();
        const bool taken = items.size() == 1 && items.front() == addon_;
        expected["lbl_Mods"] = taken ? addon_ : expected["lbl_Mods"];
        expected["cmd_read"] = taken ? "Read|on" : expected["cmd_read"];
        const std::size_t warnings = w_->Dialogs().size() + (taken ? 0 : 1);
        w_->Drop(items);
        EXPECT_EQ(Snapshot(), expected);
        EXPECT_EQ(w_->Dialogs().size(), warnings);
    }
}

// The files of the last Read, then of the last Write, by the context menu (a right click, then
// the menu key): each file with its state, a file already there compared with the add-on's; the
// filter and the sort change the rows shown, a copy holds the selected ones.
TEST_F(WindowScenario, FilesOfTheLastPass) {
    Start();
    std::ofstream(NativePath(Join(Game(), "Maps/Harbour.rv2")), std::ios::binary)
        << "add-on Harbour.rv2";
    Pick(names::cmd_Open2, addon_);
    bool opened = true;  // an entry chosen while Read runs is refused
    w_->AtNextYield([&] { opened = w_->ChooseMenuEntry(kFileListEntry, false); });
    Click(names::cmd_read);
    EXPECT_FALSE(opened);
    ASSERT_TRUE(w_->ChooseMenuEntry(kFileListEntry, false));
    ASSERT_EQ(w_->Rows().size(), 14u);
    EXPECT_EQ(w_->Rows()[0], "Add-on file|Category|Target|State");
    const std::vector<std::string> ready = {
        "Animations/Harbour.ukx",   "Music/Harbour.ogg",   "Sounds/Harbour.uax",
        "StaticMeshes/Harbour.usx", "System/Harbour.det",  "System/Harbour.dll",
        "System/Harbour.ini",       "System/Harbour.u",    "System/Harbour.ucl",
        "System/Harbour.upl",       "Textures/Harbour.utx"};
    // The filter, clicks on the Target column's header, and the targets shown.
    const std::tuple<std::string, int, std::vector<std::string>> cases[] = {
        {"already there and identical", 0, {"Maps/Harbour.rv2"}},
        {"already there but different", 0, {"System/Harbour.int"}},
        {"ready to write", 1, ready},
        {"ready to write", 1, {ready.rbegin(), ready.rend()}},
    };
    for (const auto& [filter, clicks, targets] : cases) {
        SCOPED_TRACE(filter);
        w_->Filter(filter);
        for (int click = 0; click < clicks; ++click) {
            w_->ClickColumn(2);
        }
        EXPECT_EQ(Targets(), targets);
    }
    for (bool button : {false, true}) {
        EXPECT_EQ(w_->Copy({0, 1}, button),
                  Native("Harbour.utx\tTextures\tTextures/Harbour.utx\tready to write\n"
                         "Harbour.upl\tSystem\tSystem/Harbour.upl\tready to write\n"));
    }
    w_->CloseDialog();

    std::filesystem::remove(NativePath(Join(Game(), "Music")));
    Click(names::cmd_write);
    ASSERT_TRUE(w_->ChooseMenuEntry(kFileListEntry, true));
    w_->Filter("written");
    EXPECT_EQ(w_->Rows().size(), 11u);
    w_->Filter("failed");
    ASSERT_EQ(w_->Rows().size(), 2u);
    EXPECT_THAT(w_->Rows()[1], StartsWith(Native("Harbour.ogg|Music|Music/Harbour.ogg|failed: ")));
    w_->CloseDialog();
}

// With the main window in the top-left corner of the screen and an add-on folder named in
// Cyrillic, every fixed caption of both editions fits its control, and both dialogs stand inside
// the work area with columns as wide as their contents. "About..." names the version.
TEST_F(WindowScenario, EverythingOnScreen) {
    addon_ = Join(w_->Root(), "Дополнение");
    Start();
    w_->MoveToCorner();
    for (int edition = 0; edition < 2; ++edition) {
        Click(names::cmd_gameChange);
        EXPECT_EQ(w_->CutOff(), std::vector<std::string>{});
    }
    Pick(names::cmd_Open2, addon_);
    EXPECT_EQ(w_->Caption({names::lbl_Mods}), addon_);
    Click(names::cmd_read);
    Click(names::cmd_write);
    for (std::string_view entry : {kFileListEntry, kInstalledAddOnsEntry}) {
        SCOPED_TRACE(entry);
        ASSERT_TRUE(w_->ChooseMenuEntry(entry, false));
        EXPECT_GT(w_->Rows().size(), 1u);
        EXPECT_EQ(w_->CutOff(), std::vector<std::string>{});
        w_->CloseDialog();
    }
    // The third entry shows the program's name, version and licence in a box.
    EXPECT_FALSE(w_->ChooseMenuEntry(kAboutEntry, true));
    EXPECT_THAT(w_->Dialogs().back(),
                AllOf(StartsWith("warning|About|RV2003/RV2004 Add-On Installer\r\nVersion "),
                      EndsWith("\r\n\r\nFree software under the MIT License.|OK,no icon,modal")));
    EXPECT_EQ(w_->CutOff(), std::vector<std::string>{})
        << "the picker and the boxes stand on the window";
}

}  // namespace
}  // namespace rv::test
