// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "edition/edition_selection.h"
#include "edition/reg_value_get.h"
#include "support/recording_window.h"
#include "support/test_registry.h"
#include "text/text.h"

namespace rv {
namespace {

using namespace std::string_literals;
using namespace rv::platform;
using View = test::TestRegistry::View;

const std::string kGameKey(kRV2004Texts.registry_key);
const std::string kValueKey = "SOFTWARE\\RvRegistryTest";

using Read = std::tuple<std::int32_t, std::uint32_t, std::string>;  // the result, type and data

// One value read as the value reader reads it: its size, a buffer one byte short, then one of
// exactly that size; then the key is closed, which works once.
Read ReadValue(const std::string& key, const std::string& name) {
    const std::unique_ptr<RegistryBackend> registry = OpenSystemRegistry();
    RegKeyHandle handle = 12345;
    std::uint32_t type = 0, size = 0;
    std::int32_t result = registry->OpenKey(kHKeyLocalMachine, key, kRegValueGetAccess, handle);
    if (result != kRegSuccess) {
        EXPECT_EQ(handle, 12345u) << "no handle is handed out on failure";
        return {result, 0, ""};
    }
    result = registry->QueryValue(handle, name, type, nullptr, size);
    std::vector<std::uint8_t> buffer(size + 1, 0xEE);
    if (result == kRegSuccess) {
        std::uint32_t written = size - 1;
        EXPECT_EQ(registry->QueryValue(handle, name, type, buffer.data(), written), kRegMoreData);
        EXPECT_EQ(written, size);
        EXPECT_EQ(buffer[0], 0xEE) << "nothing written into a buffer that is too small";
        result = registry->QueryValue(handle, name, type, buffer.data(), written);
        EXPECT_EQ(written, size);
        EXPECT_EQ(buffer[size], 0xEE) << "wrote past the announced size";
    }
    EXPECT_EQ(registry->CloseKey(handle), kRegSuccess);
    EXPECT_EQ(registry->CloseKey(handle), kRegInvalidHandle) << "closed twice";
    return {result, type, std::string(buffer.begin(), buffer.begin() + (result == 0 ? size : 0))};
}

// Texts come as UTF-8 with the NULs they were stored with, other types byte for byte. (Wine
// hands a text stored without NUL out with one.)
TEST(Registry, HandsOutEachValueAsTheValueReaderAsksForIt) {
    test::TestRegistry registry;
    const std::string text = "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9 \xF0\x9F\x8E\xAE\0"s;
    // Name, type, data; the data stored is that read.
    const std::vector<std::tuple<std::string, std::uint32_t, std::string>> cases = {
        {"Text", kRegSz, text},
        {"", kRegSz, "\0"s},
        {"Expand", kRegExpandSz, "%ProgramFiles%\\RV\0"s},
        {"Number", kRegDword, "\x01\x00\x00\x80"s},
        {"Binary", kRegBinary, "\x01\x00\x02\x00"s},
    };
    for (const auto& [name, type, data] : cases) {  // each found among those set before it
        registry.Set(kValueKey, name, type, data);
        EXPECT_EQ(ReadValue(kValueKey, name), Read(kRegSuccess, type, data)) << name;
    }
    EXPECT_EQ(ReadValue(kValueKey, "Missing"), Read(kRegNotFound, 0, ""));
    EXPECT_EQ(ReadValue(kValueKey + "\\Missing", "Text"), Read(kRegNotFound, 0, ""));
}

// Form_Load shows RV2004 as its 32-bit installer registered it, with the chain at its start. The
// folder loses the NUL and trailing spaces the reader adds, nothing else, and ends at a NUL
// inside; an empty or unreadable one leaves the prompt and the old GameFolder. (The window
// scenarios check the texts of both editions and the switch both ways.)
TEST(FormLoad, ShowsTheCleanedFolderOrThePrompt) {
    // Type and data in the 32-bit view (type 0: none), data in the 64-bit view, the folder.
    const std::vector<std::tuple<std::uint32_t, std::string, std::string, std::string>> cases = {
        {kRegSz, "C:\\G\\\0"s, "", "C:\\G\\"},
        {kRegSz, "C:\\G  \0"s, "", "C:\\G  "},
        {kRegSz, "C:\\G\t", "", "C:\\G\t"},
        {kRegSz, "C:\\G\0junk\0"s, "", "C:\\G"},
        {kRegSz, "C:\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9\0"s, "C:\\64\0"s,
         "C:\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9"},
        {kRegDword, "\xFF\xFF\xFF\xFF", "", "-1"},
        {kRegDword, "\x34\x12", "", "4660"},
        {kRegSz, "\0C:\\G\0"s, "", ""},
        {kRegSz, "", "", ""},
        {kRegExpandSz, "C:\\G\0"s, "", ""},
        {0, "", "C:\\64\0"s, ""},  // the 64-bit view, which the game never reads
    };
    for (const auto& [type, data, data64, folder] : cases) {
        SCOPED_TRACE(data);
        test::TestRegistry registry;
        if (type != 0) {
            registry.Set(kGameKey, "Folder", type, data);
        }
        if (!data64.empty()) {
            registry.Set(kGameKey, "Folder", kRegSz, data64, View::Bits64);
        }
        test::RecordingWindow window;
        RV2003_2004_Add_On_Installer installer{window};
        installer.SetGameFolder("before");
        window.enabled = {{"cmd_read", true}, {"cmd_write", true}};
        EditionSelection(window, installer, *OpenSystemRegistry()).Form_Load();
        EXPECT_EQ(window.Caption({names::lbl_folder}), folder.empty()
                                                           ? "Please open your Ravager 2004 Folder"
                                                           : text::ShownName(folder));
        EXPECT_EQ(window.enabled, (std::map<std::string, bool>{{"cmd_Open1", folder.empty()},
                                                               {"cmd_Open2", !folder.empty()},
                                                               {"cmd_read", false},
                                                               {"cmd_write", false}}));
        EXPECT_EQ(window.ToolTip("lbl_folder"), folder.empty() ? "" : registry.FoundIn());
        EXPECT_EQ(installer.GetGameFolder(), folder.empty() ? "before" : folder);
    }
}

}  // namespace
}  // namespace rv
