#include "edition/edition_selection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/in_memory_registry.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace rv {
namespace {

using test::InMemoryRegistry;
using test::RecordingWindow;
using namespace std::string_literals;

const std::string kKey2003 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003";
const std::string kKey2004 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kCaption2003 =
    "Unofficial RV2003 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)";
const std::string kCaption2004 =
    "Unofficial RV2004 Add-On Installer (Maps, Mutators, Weapons, Skins, ...)";
const std::string kPrompt2003 = "Please open your Ravager 2003 Folder";
const std::string kPrompt2004 = "Please open your Ravager 2004 Folder";

struct Fixture {
    RecordingWindow window;
    InMemoryRegistry registry;
    RV2003_2004_Add_On_Installer installer{window};
    EditionSelection selection{installer, registry};

    // The log without the 28 counter labels, which the core's reset writes.
    std::vector<std::string> LogWithoutCounters() const {
        std::vector<std::string> lines;
        for (const auto& line : window.log) {
            if (line.find("Counter(") == std::string::npos) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    int CounterLabelsReset() const {
        int count = 0;
        for (const auto& line : window.log) {
            count += line.find("Counter(") != std::string::npos && line.ends_with(" = 0");
        }
        return count;
    }
};

TEST(FormLoad, ResetsInOrderThenAppliesRV2004FromTheRegistry) {
    Fixture f;
    f.registry.SetText(kKey2004, "Folder", "C:\\Games\\RV2004");
    f.installer.GameFolder = "old";
    f.selection.Form_Load();

    EXPECT_EQ(f.LogWithoutCounters(),
              (std::vector<std::string>{
                  "enabled cmd_read = 0", "enabled cmd_Open1 = 1", "enabled cmd_write = 0",
                  "caption Frame2 = Ravager 2004 is installed here:",
                  "caption RV2003_2004_Add_On_Installer = " + kCaption2004,
                  "caption lbl_folder = C:\\Games\\RV2004", "enabled cmd_Open1 = 0",
                  "enabled cmd_Open2 = 1", "caption cmd_gameChange = Do you want RV 2003 ?"}));
    // The 28 counter labels come between the buttons and the edition's texts.
    EXPECT_NE(f.window.log.at(3).find("Counter("), std::string::npos);
    EXPECT_NE(f.window.log.at(30).find("Counter("), std::string::npos);
    EXPECT_EQ(f.window.log.at(31), "caption Frame2 = Ravager 2004 is installed here:");
    EXPECT_EQ(f.CounterLabelsReset(), 28);
    EXPECT_EQ(f.installer.GameFolder, "C:\\Games\\RV2004");
    EXPECT_EQ(f.registry.log.front(), "open 0x80000002 " + kKey2004 + " 0x19");
    EXPECT_EQ(f.registry.log.at(1), "query Folder size");
}

struct FolderCase {
    const char* name;
    std::function<void(InMemoryRegistry&)> setup;
    std::string folder;  // empty: not found, the prompt shows
};

TEST(FormLoad, CleansTheFoundFolderOrFallsBackToThePrompt) {
    const std::vector<FolderCase> cases = {
        {"trailing backslash kept", [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\G\\"); },
         "C:\\G\\"},
        {"spaces before the NUL kept", [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\G  "); },
         "C:\\G  "},
        {"tab at the end kept", [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\G\t"); },
         "C:\\G\t"},
        {"tab at the end of a text without NUL kept",
         [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\G\t", false); }, "C:\\G\t"},
        {"text without NUL keeps its last character",
         [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\Game", false); }, "C:\\Game"},
        {"text without NUL loses only its spaces",
         [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\Game  ", false); }, "C:\\Game"},
        {"non-ASCII folder",
         [](auto& r) { r.SetText(kKey2004, "Folder", "C:\\Spiele\\R\xC3\xA4v"); },
         "C:\\Spiele\\R\xC3\xA4v"},
        {"number gives its decimal text", [](auto& r) { r.SetNumber(kKey2004, "Folder", 2004); },
         "2004"},
        {"negative number", [](auto& r) { r.SetNumber(kKey2004, "Folder", 0xFFFFFFFFu); }, "-1"},
        {"empty text with NUL", [](auto& r) { r.SetText(kKey2004, "Folder", ""); }, ""},
        {"empty text without NUL", [](auto& r) { r.SetText(kKey2004, "Folder", "", false); }, ""},
        {"only spaces without NUL", [](auto& r) { r.SetText(kKey2004, "Folder", "   ", false); },
         ""},
        {"expandable text is not read",
         [](auto& r) {
             r.SetRaw(kKey2004, "Folder", platform::kRegExpandSz, {'C', ':', 0});
         },
         ""},
        {"missing key", [](auto&) {}, ""},
        {"missing value", [](auto& r) { r.SetText(kKey2004, "Path", "C:\\G"); }, ""},
        {"only the other edition registered",
         [](auto& r) { r.SetText(kKey2003, "Folder", "C:\\G"); }, ""},
        {"access refused",
         [](auto& r) {
             r.SetText(kKey2004, "Folder", "C:\\G");
             r.open_fails_with = 5;
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        c.setup(f.registry);
        f.installer.GameFolder = "before";
        f.selection.Form_Load();
        const bool found = !c.folder.empty();
        EXPECT_EQ(f.window.captions["lbl_folder"], found ? c.folder : kPrompt2004);
        EXPECT_EQ(f.installer.GameFolder, found ? c.folder : "before");
        EXPECT_EQ(f.window.Enabled("cmd_Open1"), !found);
        EXPECT_EQ(f.window.Enabled("cmd_Open2"), found);
        EXPECT_FALSE(f.window.Enabled("cmd_read"));
        EXPECT_FALSE(f.window.Enabled("cmd_write"));
        EXPECT_EQ(f.window.captions["cmd_gameChange"], "Do you want RV 2003 ?");
    }
}

TEST(GameChange, AlternatesEditionsByTheButtonCaptionWithAFreshLookUpEachTime) {
    Fixture f;
    f.registry.SetText(kKey2003, "Folder", "D:\\RV2003");
    f.registry.SetText(kKey2004, "Folder", "C:\\RV2004");
    f.window.captions["cmd_gameChange"] = "Do you want RV 2003 ?";  // as the window is created
    f.selection.Form_Load();

    struct Step {
        std::string frame, caption, folder, offer;
    };
    const std::vector<Step> steps = {
        {"Ravager 2003 is installed here:", kCaption2003, "D:\\RV2003", "Do you want RV 2004 ?"},
        {"Ravager 2004 is installed here:", kCaption2004, "C:\\RV2004", "Do you want RV 2003 ?"},
        {"Ravager 2003 is installed here:", kCaption2003, "D:\\RV2003", "Do you want RV 2004 ?"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.frame);
        f.registry.log.clear();
        f.selection.cmd_gameChange_Click();
        EXPECT_EQ(f.window.captions["Frame2"], step.frame);
        EXPECT_EQ(f.window.captions["RV2003_2004_Add_On_Installer"], step.caption);
        EXPECT_EQ(f.window.captions["lbl_folder"], step.folder);
        EXPECT_EQ(f.installer.GameFolder, step.folder);
        EXPECT_EQ(f.window.captions["cmd_gameChange"], step.offer);
        const std::string key = step.folder[0] == 'D' ? kKey2003 : kKey2004;
        EXPECT_EQ(f.registry.log.at(0), "open 0x80000002 " + key + " 0x19");
    }
}

TEST(GameChange, AppliesRV2003OnlyForTheExactOfferingCaption) {
    const std::vector<std::pair<std::string, bool>> captions = {
        {"Do you want RV 2003 ?", true},  {"Do you want RV 2004 ?", false},
        {"do you want RV 2003 ?", false}, {"Do you want RV 2003 ? ", false},
        {"Do you want RV 2003 ", false},  {"", false},
    };
    for (const auto& [caption, applies2003] : captions) {
        SCOPED_TRACE(caption);
        Fixture f;
        f.window.captions["cmd_gameChange"] = caption;
        f.selection.cmd_gameChange_Click();
        EXPECT_EQ(f.window.captions["lbl_folder"], applies2003 ? kPrompt2003 : kPrompt2004);
    }
}

TEST(GameChange, ResetsTheChainAndCountersButKeepsStatusAndAddOnTexts) {
    Fixture f;
    f.registry.SetText(kKey2003, "Folder", "D:\\RV2003");
    f.window.captions["cmd_gameChange"] = "Do you want RV 2003 ?";
    f.window.captions["lbl_status"] = "Ready to play - 3 files";
    f.window.captions["lbl_Mods"] = "E:\\AddOn";
    f.window.captions["lbl_MapCounter(3)"] = "7";
    f.window.enabled["cmd_read"] = f.window.enabled["cmd_write"] = true;
    f.selection.cmd_gameChange_Click();
    EXPECT_EQ(f.window.captions["lbl_MapCounter(3)"], "0");
    EXPECT_EQ(f.CounterLabelsReset(), 28);
    EXPECT_FALSE(f.window.Enabled("cmd_read"));
    EXPECT_FALSE(f.window.Enabled("cmd_write"));
    EXPECT_EQ(f.window.captions["lbl_status"], "Ready to play - 3 files");
    EXPECT_EQ(f.window.captions["lbl_Mods"], "E:\\AddOn");
}

TEST(GameChange, ToAnUnregisteredEditionShowsThePromptAndKeepsTheOldFolderUnused) {
    Fixture f;
    f.registry.SetText(kKey2004, "Folder", "C:\\RV2004");
    f.window.captions["cmd_gameChange"] = "Do you want RV 2003 ?";
    f.selection.Form_Load();
    f.selection.cmd_gameChange_Click();
    EXPECT_EQ(f.window.captions["lbl_folder"], kPrompt2003);
    EXPECT_EQ(f.installer.GameFolder, "C:\\RV2004");
    EXPECT_TRUE(f.window.Enabled("cmd_Open1"));
    EXPECT_FALSE(f.window.Enabled("cmd_Open2"));
    EXPECT_FALSE(f.window.Enabled("cmd_read"));
    EXPECT_FALSE(f.window.Enabled("cmd_write"));
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
    EXPECT_TRUE(f.registry.log.empty());
    EXPECT_EQ(f.window.captions["cmd_gameChange"], "Do you want RV 2003 ?");
    // Once the pass is over the switch works again.
    f.selection.cmd_gameChange_Click();
    EXPECT_EQ(f.window.captions["lbl_folder"], "D:\\RV2003");
}

}  // namespace
}  // namespace rv
