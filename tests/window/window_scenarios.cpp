// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "platform/file_system.h"
#include "support/sample_addon.h"
#include "support/temp_folder.h"
#include "window/window_driver.h"

namespace rv::test {
namespace {

// A window over a sample add-on, with RV2004 (and RV2003 when asked) registered at
// <root>/Games/<edition>.
class WindowScenario : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& registered = {"RV2004"},
               const std::vector<std::string>& arguments = {}) {
        std::map<std::string, std::string> editions;
        for (const char* edition : {"RV2003", "RV2004"}) {
            MakeSampleAddOn(addon_, Game(edition));
        }
        for (const std::string& edition : registered) {
            editions[edition] = Game(edition);
        }
        w_->SetRegistered(editions);
        w_->Start(arguments);
    }
    std::string Game(const std::string& edition = "RV2004") const {
        return Join(w_->Root(), "Games" + std::string(1, platform::kPathSeparator) + edition);
    }
    static std::string Join(const std::string& folder, const std::string& name) {
        return folder + platform::kPathSeparator + name;
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
            chain += w_->Enabled({name}) ? std::string(chain.empty() ? "" : " ") + std::string(name) : "";
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
        for (const ShownControl& control : w_->Controls()) {
            state[control.key] = control.caption;
            if (control.kind == "button") {
                state[control.key] += w_->Enabled({control.key}) ? "|on" : "|off";
            }
        }
        return state;
    }
    std::string Status() const { return w_->Caption({names::lbl_status}); }

    std::unique_ptr<WindowDriver> w_ = MakeWindowDriver();
    std::string addon_ = Join(w_->Root(), "Add-on ä & x");
};

// The controls by container, in creation order, with their captions after the start-up; where a
// sample of them stands; the keyboard's way through the buttons.
TEST_F(WindowScenario, Layout) {
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
}

// Open with its warning box and picker, Read, Write: the add-on ends up in the game folder,
// replacing nothing that was there; the folder's name is shown as it stands.
TEST_F(WindowScenario, WholeWorkflowByClicks) {
    Start();
    Pick(names::cmd_Open2, "  " + addon_ + "  ");
    EXPECT_EQ(w_->Dialogs(),
              (std::vector<std::string>{
                  "warning|Unofficial RV2004 Add-On Installer|Please choose the Folder with the "
                  "Maps, Mutators, Skins, Weapons, ...\r\nNO archives supported!|OK,no icon,modal",
                  "picker|Bitte den Startordner wählen!|folders only, no start folder, no owner"}));
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
    EXPECT_EQ(ReadWhole(Join(Game(), "StaticMeshes/Harbour.usx")), "add-on Harbour.usx");
    EXPECT_EQ(ReadWhole(Join(Game(), "Maps/Harbour.rv2")), "installed");
    EXPECT_EQ(ReadWhole(Join(Game(), "System/Harbour.int")), "installed");
    EXPECT_FALSE(Exists(Join(Game(), "Readme.txt")));
}

// After a read pass, no click that arrives while a pass yields gets through; a cancelled picker
// changes nothing, nor does a folder not found under the name given, which the status line then
// names. The edition switch resets the counters and the chain but keeps the add-on folder, and
// closing during a write pass stops it and closes the window.
TEST_F(WindowScenario, AfterAReadPass) {
    Start({"RV2003"});
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

// Each link button opens its own page and changes nothing else.
TEST_F(WindowScenario, LinksOpenTheirPagesOnly) {
    Start();
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
        Start({registered}, arguments);
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
        EXPECT_EQ(Status(), "loaded ...");
        EXPECT_EQ(Counts(), "0000000 0000000 0000000 0000000");
        if (chain.ends_with("cmd_read")) {
            Click(names::cmd_read);
            EXPECT_EQ(Status(), "11 File(s) are ready to write - 13 File(s) checked!");
        }
    }
}

}  // namespace
}  // namespace rv::test
