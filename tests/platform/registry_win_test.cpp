// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "edition/edition_selection.h"
#include "edition/reg_value_get.h"
#include "platform/registry.h"
#include "support/recording_window.h"

namespace rv {
namespace {

using namespace rv::platform;

const std::string kGameSubKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";

const std::string kValueKey = "SOFTWARE\\RvRegistryTest";  // written with each text's NUL
constexpr REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

// True when the key is in either view: the game is really registered on this machine.
bool InEitherView(const std::string& sub_key) {
    for (REGSAM view : kViews) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sub_key.c_str(), 0, KEY_READ | view, &key) == 0) {
            RegCloseKey(key);
            return true;
        }
    }
    return false;
}

// Keys a test wrote, removed from both views at the end.
class RegistryOnWindows : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& key : written_) {
            for (REGSAM view : kViews) {
                RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
            }
        }
    }
    // Writes one value into one registry view, as an installer does.
    void Store(const std::string& sub_key, REGSAM view, const wchar_t* name, DWORD type,
               const void* data, std::size_t size) {
        written_.insert(sub_key);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, sub_key.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void StoreText(const std::string& sub_key, REGSAM view, const wchar_t* name,
                   const std::wstring& text, DWORD type = REG_SZ) {
        Store(sub_key, view, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    std::set<std::string> written_;
};

struct Read {
    std::int32_t result = -1;  // of the first step that failed
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Read&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Read& read) {
        return out << read.result << " type " << read.type << " \"" << read.data << '"';
    }
};

// One value read as the value reader reads it: its size, a buffer one byte short, then one of
// exactly that size.
Read ReadValue(const std::string& key, const std::string& name) {
    const std::unique_ptr<RegistryBackend> registry = OpenSystemRegistry();
    Read read;
    RegKeyHandle handle = 12345;
    read.result = registry->OpenKey(kHKeyLocalMachine, key, kRegValueGetAccess, handle);
    if (read.result != kRegSuccess) {
        EXPECT_EQ(handle, 12345u) << "no handle is handed out on failure";
        return read;
    }
    std::uint32_t size = 0;
    read.result = registry->QueryValue(handle, name, read.type, nullptr, size);
    if (read.result == kRegSuccess) {
        std::vector<std::uint8_t> buffer(size + 1, 0xEE);
        std::uint32_t written = size - 1;
        EXPECT_EQ(registry->QueryValue(handle, name, read.type, buffer.data(), written),
                  kRegMoreData);
        read.result = registry->QueryValue(handle, name, read.type, buffer.data(), written);
        EXPECT_EQ(written, size);
        EXPECT_EQ(buffer[size], 0xEE) << "wrote past the announced size";
        read.data.assign(buffer.begin(), buffer.begin() + size);
    }
    EXPECT_EQ(registry->CloseKey(handle), kRegSuccess);
    return read;
}

TEST_F(RegistryOnWindows, BackendHandsOutTextsAsUtf8WithTheirByteCounts) {
    const std::uint32_t number = 0x80000001u;
    StoreText(kValueKey, KEY_WOW64_32KEY, L"Text",
              L"C:\\Spiele\\\u0420\u0430\u0432 \u03A9 \U0001F3AE");
    StoreText(kValueKey, KEY_WOW64_32KEY, L"", L"");
    StoreText(kValueKey, KEY_WOW64_32KEY, L"Expand", L"%ProgramFiles%\\RV", REG_EXPAND_SZ);
    Store(kValueKey, KEY_WOW64_32KEY, L"Number", REG_DWORD, &number, 4);
    Store(kValueKey, KEY_WOW64_32KEY, L"Binary", REG_BINARY, "\x01\x00\x02\x00", 4);
    const std::string text = "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9 \xF0\x9F\x8E\xAE";
    const struct {
        const char* below;  // a sub-key, or nothing
        const char* name;
        Read read;
    } cases[] = {
        {"", "Text", {kRegSuccess, kRegSz, text + '\0'}},
        {"", "", {kRegSuccess, kRegSz, std::string(1, '\0')}},
        {"", "Expand", {kRegSuccess, kRegExpandSz, std::string("%ProgramFiles%\\RV\0", 18)}},
        {"", "Number", {kRegSuccess, kRegDword, std::string("\x01\x00\x00\x80", 4)}},
        {"", "Binary", {kRegSuccess, kRegBinary, std::string("\x01\x00\x02\x00", 4)}},
        {"", "Missing", {kRegNotFound, 0, ""}},
        {"\\Missing", "Text", {kRegNotFound, 0, ""}},
        {"\\\xC3(", "Text", {ERROR_NO_UNICODE_TRANSLATION, 0, ""}},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(ReadValue(kValueKey + item.below, item.name), item.read) << item.name;
    }
}

TEST_F(RegistryOnWindows, StartUpFindsTheFolderThe32BitInstallerRegistered) {
    if (InEitherView(kGameSubKey)) {
        GTEST_SKIP() << "the game is registered on this machine; its key is left alone";
    }
    const std::wstring folder = L"C:\\Spiele\\\u0420\u0430\u0432 \u03A9";  // outside ANSI
    const std::string folder_utf8 = "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9";
    const struct {
        const char* what;
        std::wstring view32;  // the folder written in each view, or nothing
        std::wstring view64;
        std::string game_folder;
    } cases[] = {
        {"written by a 32-bit installer", folder, L"", folder_utf8},
        {"both views: the 32-bit one counts", folder, L"C:\\Games\\RV64", folder_utf8},
        {"only the 64-bit view, which the game never reads", L"", L"C:\\Games\\RV64", ""},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        TearDown();
        for (const auto& [view, written] :
             {std::pair{kViews[0], item.view32}, std::pair{kViews[1], item.view64}}) {
            if (!written.empty()) {
                StoreText(kGameSubKey, view, L"Folder", written);
            }
        }
        test::RecordingWindow window;
        RV2003_2004_Add_On_Installer installer(window);
        const std::unique_ptr<RegistryBackend> registry = OpenSystemRegistry();
        EditionSelection(window, installer, *registry).Form_Load();
        EXPECT_EQ(installer.GameFolder, item.game_folder);
        EXPECT_EQ(window.Enabled("cmd_Open1"), item.game_folder.empty());
        EXPECT_EQ(window.Enabled("cmd_Open2"), !item.game_folder.empty());
    }
}

}  // namespace
}  // namespace rv
