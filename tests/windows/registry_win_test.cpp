#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "edition/edition_selection.h"
#include "edition/reg_value_get.h"
#include "platform/registry.h"
#include "support/recording_window.h"

namespace rv {
namespace {

using namespace rv::platform;

const std::wstring kGameKey = L"HKLM\\SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kGameSubKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";

// Runs the system's reg.exe, as the game's installer scripts do; 0 when it did what was asked.
DWORD RunReg(const std::wstring& arguments) {
    std::wstring command = L"reg.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(STARTUPINFOW);
    startup.dwFlags = STARTF_USESTDHANDLES;  // no handles: reg.exe's messages stay out of the log
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &process) == 0) {
        return GetLastError();
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The game's key, written in either registry view and removed from both at the end. A machine
// where the game is really registered is left alone: the test skips.
class GameKeyOnWindows : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* view : {L"32", L"64"}) {
            if (RunReg(L"query \"" + kGameKey + L"\" /reg:" + view) == 0) {
                GTEST_SKIP() << "the game is registered on this machine; its key is left alone";
            }
        }
        owns_key_ = true;
    }
    void TearDown() override {
        for (const wchar_t* view : {L"32", L"64"}) {
            if (owns_key_) {
                RunReg(L"delete \"" + kGameKey + L"\" /f /reg:" + view);
            }
        }
    }
    bool owns_key_ = false;
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

TEST_F(GameKeyOnWindows, BackendHandsOutTextsAsUtf8WithTheirByteCounts) {
    HKEY key = nullptr;  // in the 32-bit view, where the game's 32-bit installer writes
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameSubKey.c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring spiele = L"C:\\Spiele\\\u0420\u0430\u0432 \u03A9 \U0001F3AE";
    const std::wstring expand = L"%ProgramFiles%\\RV";
    const std::uint32_t number = 0x80000001u;
    const auto store = [key](const wchar_t* name, DWORD type, const void* data, std::size_t size) {
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    };
    store(L"Text", REG_SZ, spiele.c_str(), (spiele.size() + 1) * 2);  // with its NUL
    store(L"", REG_SZ, L"", 2);
    store(L"Expand", REG_EXPAND_SZ, expand.c_str(), (expand.size() + 1) * 2);
    store(L"Number", REG_DWORD, &number, 4);
    store(L"Binary", REG_BINARY, "\x01\x00\x02\x00", 4);
    RegCloseKey(key);
    const std::string text = "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9 \xF0\x9F\x8E\xAE";
    const struct {
        std::string key;
        std::string name;
        Read read;
    } cases[] = {
        {kGameSubKey, "Text", {kRegSuccess, kRegSz, text + '\0'}},
        {kGameSubKey, "text", {kRegSuccess, kRegSz, text + '\0'}},
        {kGameSubKey, "", {kRegSuccess, kRegSz, std::string(1, '\0')}},  // empty default
        {kGameSubKey,
         "Expand",
         {kRegSuccess, kRegExpandSz, std::string("%ProgramFiles%\\RV\0", 18)}},
        {kGameSubKey, "Number", {kRegSuccess, kRegDword, std::string("\x01\x00\x00\x80", 4)}},
        {kGameSubKey, "Binary", {kRegSuccess, kRegBinary, std::string("\x01\x00\x02\x00", 4)}},
        {kGameSubKey, "Missing", {kRegNotFound, 0, ""}},
        {kGameSubKey + "\\Missing", "Text", {kRegNotFound, 0, ""}},
        {"SOFTWARE\\\xC3(", "Text", {ERROR_NO_UNICODE_TRANSLATION, 0, ""}},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(ReadValue(item.key, item.name), item.read) << item.key << " " << item.name;
    }
}

TEST_F(GameKeyOnWindows, StartUpFindsTheFolderThe32BitInstallerRegistered) {
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
             {std::pair{L"32", item.view32}, std::pair{L"64", item.view64}}) {
            if (!written.empty()) {
                ASSERT_EQ(RunReg(L"add \"" + kGameKey + L"\" /v Folder /d \"" + written +
                                 L"\" /f /reg:" + view),
                          0u);
            }
        }
        test::RecordingWindow window;
        RV2003_2004_Add_On_Installer installer(window);
        const std::unique_ptr<RegistryBackend> registry = OpenSystemRegistry();
        EditionSelection(installer, *registry).Form_Load();
        EXPECT_EQ(installer.GameFolder, item.game_folder);
        EXPECT_EQ(window.Enabled("cmd_Open1"), item.game_folder.empty());
        EXPECT_EQ(window.Enabled("cmd_Open2"), !item.game_folder.empty());
    }
}

}  // namespace
}  // namespace rv
