#include "edition/edition_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/in_memory_registry.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kKey2003 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003";
const std::string kKey2004 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kTitle2003 =
    "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)";
const std::string kTitle2004 =
    "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)";
const std::string kPrompt2003 = "Please open your Ravager 2003 Folder";
const std::string kPrompt2004 = "Please open your Ravager 2004 Folder";

struct Fixture {
    test::RecordingWindow window;
    test::InMemoryRegistry registry;
    RV2003_2004_Add_On_Installer installer{window};
    EditionSelection selection{installer, registry};
};

bool IsCounterLine(const std::string& line) {
    return line.find("Counter(") != std::string::npos;
}

TEST(FormLoad, ResetsInOrderThenAppliesRV2004FromTheRegistry) {
    Fixture f;
    f.registry.SetText(kKey2004, "Folder", "C:\\Games\\RV2004");
    f.selection.Form_Load();

    // Buttons, then the 28 counter labels, then the edition's texts.
    std::vector<std::string> others;
    for (std::size_t i = 0; i < f.window.log.size(); ++i) {
        EXPECT_EQ(IsCounterLine(f.window.log[i]), i >= 3 && i < 31) << f.window.log[i];
        if (!IsCounterLine(f.window.log[i])) {
            others.push_back(f.window.log[i]);
        }
        EXPECT_TRUE(!IsCounterLine(f.window.log[i]) || f.window.log[i].ends_with(" = 0"));
    }
    EXPECT_EQ(others,
              (std::vector<std::string>{
                  "enabled cmd_read = 0", "enabled cmd_Open1 = 1", "enabled cmd_write = 0",
                  "caption Frame2 = Ravager 2004 is installed here:",
                  "caption RV2003_2004_Add_On_Installer = " + kTitle2004,
                  "caption lbl_folder = C:\\Games\\RV2004", "enabled cmd_Open1 = 0",
                  "enabled cmd_Open2 = 1", "caption cmd_gameChange = Do you want RV 2003 ?"}));
    EXPECT_EQ(f.installer.GameFolder, "C:\\Games\\RV2004");
    EXPECT_EQ(f.registry.opened_root, platform::kHKeyLocalMachine);
    EXPECT_EQ(f.registry.opened_key, kKey2004);
}

struct FolderCase {
    const char* name;
    std::uint32_t type;
    Bytes data;
    std::string folder;  // empty: not found, the prompt shows
};

Bytes B(const std::string& text, bool with_nul = true) {
    Bytes bytes(text.begin(), text.end());
    if (with_nul) {
        bytes.push_back(0);
    }
    return bytes;
}

TEST(FormLoad, CleansTheFoundFolderOrFallsBackToThePrompt) {
    const std::vector<FolderCase> cases = {
        {"trailing backslash kept", 1, B("C:\\G\\"), "C:\\G\\"},
        {"spaces before the NUL kept", 1, B("C:\\G  "), "C:\\G  "},
        {"tab kept", 1, B("C:\\G\t"), "C:\\G\t"},
        {"without NUL: last character kept", 1, B("C:\\Game", false), "C:\\Game"},
        {"without NUL: trailing spaces go", 1, B("C:\\G  ", false), "C:\\G"},
        {"without NUL: tab kept", 1, B("C:\\G\t", false), "C:\\G\t"},
        {"non-ASCII", 1, B("C:\\R\xC3\xA4v"), "C:\\R\xC3\xA4v"},
        {"number as decimal text", 4, {0xD4, 0x07, 0, 0}, "2004"},
        {"negative number", 4, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        {"empty text", 1, B(""), ""},
        {"empty text without NUL", 1, B("", false), ""},
        {"only spaces without NUL", 1, B("   ", false), ""},
        {"expandable text is not read", 2, B("C:\\G"), ""},
        {"value of another name", 0, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.registry.SetRaw(kKey2004, c.type == 0 ? "Path" : "Folder", c.type, c.data);
        f.installer.GameFolder = "before";
        f.selection.Form_Load();
        const bool found = !c.folder.empty();
        EXPECT_EQ(f.window.captions["lbl_folder"], found ? c.folder : kPrompt2004);
        EXPECT_EQ(f.installer.GameFolder, found ? c.folder : "before");
        EXPECT_EQ(f.window.Enabled("cmd_Open1"), !found);
        EXPECT_EQ(f.window.Enabled("cmd_Open2"), found);
        EXPECT_EQ(f.window.captions["cmd_gameChange"], "Do you want RV 2003 ?");
    }
}

TEST(GameChange, FollowsTheButtonCaptionWithAFreshLookUpEachTime) {
    struct Press {
        std::string caption_before;
        std::string title, frame, folder, key, caption_after;
    };
    const std::string k03 = "Do you want RV 2003 ?";
    const std::string k04 = "Do you want RV 2004 ?";
    const std::string frame03 = "Ravager 2003 is installed here:";
    const std::string frame04 = "Ravager 2004 is installed here:";
    const std::vector<Press> presses = {
        {k03, kTitle2003, frame03, "D:\\RV2003", kKey2003, k04},
        {k04, kTitle2004, frame04, "C:\\RV2004", kKey2004, k03},
        {"do you want RV 2003 ?", kTitle2004, frame04, "C:\\RV2004", kKey2004, k03},
        {k03 + " ", kTitle2004, frame04, "C:\\RV2004", kKey2004, k03},
        {"", kTitle2004, frame04, "C:\\RV2004", kKey2004, k03},
    };
    Fixture f;
    f.registry.SetText(kKey2003, "Folder", "D:\\RV2003");
    f.registry.SetText(kKey2004, "Folder", "C:\\RV2004");
    for (const auto& press : presses) {
        SCOPED_TRACE(press.caption_before);
        f.window.captions["cmd_gameChange"] = press.caption_before;
        f.registry.calls.clear();
        f.selection.cmd_gameChange_Click();
        EXPECT_EQ(f.window.captions["RV2003_2004_Add_On_Installer"], press.title);
        EXPECT_EQ(f.window.captions["Frame2"], press.frame);
        EXPECT_EQ(f.window.captions["lbl_folder"], press.folder);
        EXPECT_EQ(f.registry.opened_key, press.key);
        EXPECT_EQ(f.registry.calls, "osdc");
        EXPECT_EQ(f.window.captions["cmd_gameChange"], press.caption_after);
    }
}

TEST(GameChange, ResetsChainAndCountersKeepsOtherTextsAndTheOldFolderUnused) {
    Fixture f;
    f.registry.SetText(kKey2004, "Folder", "C:\\RV2004");
    f.selection.Form_Load();
    f.window.captions["lbl_status"] = "Ready to play - 3 files";
    f.window.captions["lbl_Mods"] = "E:\\AddOn";
    f.window.captions["lbl_MapCounter(3)"] = "7";
    f.window.enabled["cmd_read"] = f.window.enabled["cmd_write"] = true;
    f.selection.cmd_gameChange_Click();  // to RV2003, which is not registered

    EXPECT_EQ(f.window.captions["lbl_MapCounter(3)"], "0");
    EXPECT_EQ(f.window.captions["lbl_status"], "Ready to play - 3 files");
    EXPECT_EQ(f.window.captions["lbl_Mods"], "E:\\AddOn");
    EXPECT_EQ(f.window.captions["lbl_folder"], kPrompt2003);
    EXPECT_EQ(f.installer.GameFolder, "C:\\RV2004");
    for (const auto& [button, on] :
         std::vector<std::pair<std::string, bool>>{{"cmd_Open1", true},
                                                   {"cmd_Open2", false},
                                                   {"cmd_read", false},
                                                   {"cmd_write", false}}) {
        EXPECT_EQ(f.window.Enabled(button), on) << button;
    }
}

TEST(GameChange, DoesNothingWhileAPassRuns) {
    Fixture f;
    f.registry.SetText(kKey2003, "Folder", "D:\\RV2003");
    f.window.captions["cmd_gameChange"] = "Do you want RV 2003 ?";
    const test::TempFolder addon;
    f.installer.AddOnFolder = addon.Path();
    int clicks_during_pass = 0;
    f.window.on_yield = [&] {
        if (f.installer.PassRunning()) {
            ++clicks_during_pass;
            const auto lines_before = f.window.log.size();
            f.selection.cmd_gameChange_Click();
            EXPECT_EQ(f.window.log.size(), lines_before);
        }
        return true;
    };
    f.installer.cmd_read_Click();
    EXPECT_GT(clicks_during_pass, 0);
    EXPECT_TRUE(f.registry.calls.empty());
    f.selection.cmd_gameChange_Click();
    EXPECT_EQ(f.window.captions["lbl_folder"], "D:\\RV2003") << "works again after the pass";
}

}  // namespace
}  // namespace rv
