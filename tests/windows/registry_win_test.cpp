#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/registry.h"
#include "windows/reg_tool.h"

namespace rv::platform {
namespace {

using test::RunReg;

constexpr std::uint32_t kQueryValue = 0x19;  // the access mask the value reader asks for

// A key of its own below HKLM\Software, in both registry views, deleted at the end.
class RegistryOnWindows : public ::testing::Test {
protected:
    RegistryOnWindows()
        : key_(L"Software\\RvRegistryTest" + std::to_wstring(GetCurrentProcessId())),
          key_utf8_("Software\\RvRegistryTest" + std::to_string(GetCurrentProcessId())) {}

    ~RegistryOnWindows() override {
        for (const wchar_t* view : {L"/reg:32", L"/reg:64"}) {
            RunReg(L"delete \"HKLM\\" + key_ + L"\" /f " + view);
        }
    }

    // Stores a value in the 32-bit view with the given type and raw bytes.
    void Store(const std::wstring& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // What the backend hands out for one value: the result of the first failing step, the type,
    // the size it announced and the bytes it then wrote into a buffer of that size.
    struct Read {
        std::int32_t result = -1;
        std::uint32_t type = 0;
        std::string data;
    };
    Read ReadValue(const std::string& name) {
        Read read;
        RegKeyHandle handle = 0;
        read.result = registry_->OpenKey(kHKeyLocalMachine, key_utf8_, kQueryValue, handle);
        if (read.result != kRegSuccess) {
            return read;
        }
        std::uint32_t size = 0;
        read.result = registry_->QueryValue(handle, name, read.type, nullptr, size);
        if (read.result == kRegSuccess) {
            std::vector<std::uint8_t> buffer(size + 1, 0xEE);
            std::uint32_t written = size;
            read.result = registry_->QueryValue(handle, name, read.type, buffer.data(), written);
            EXPECT_EQ(written, size);
            EXPECT_EQ(buffer[size], 0xEE) << "wrote past the announced size";
            read.data.assign(buffer.begin(), buffer.begin() + written);
        }
        EXPECT_EQ(registry_->CloseKey(handle), kRegSuccess);
        return read;
    }

    std::wstring key_;
    std::string key_utf8_;
    std::unique_ptr<RegistryBackend> registry_ = OpenSystemRegistry();
};

TEST_F(RegistryOnWindows, HandsOutTextsAsUtf8WithTheirByteCounts) {
    const std::wstring spiele = L"C:\\Spiele\\\u0420\u0430\u0432 \u03A9 \u6E38\U0001F3AE";
    const std::string spiele_utf8 =
        "C:\\Spiele\\\xD0\xA0\xD0\xB0\xD0\xB2 \xCE\xA9 \xE6\xB8\xB8\xF0\x9F\x8E\xAE";
    const std::uint32_t number = 0x80000001u;
    const std::uint8_t binary[] = {1, 0, 2, 0};
    // Wine adds the NUL to a text stored without one, so that shape is left to the hive tests.
    const auto bytes = [](const std::wstring& text) {
        return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    };
    Store(L"Text", REG_SZ, spiele.c_str(), bytes(spiele));
    Store(L"Empty", REG_SZ, L"", bytes(L""));
    Store(L"", REG_SZ, L"default", bytes(L"default"));
    Store(L"Expand", REG_EXPAND_SZ, L"%ProgramFiles%\\RV", bytes(L"%ProgramFiles%\\RV"));
    Store(L"Number", REG_DWORD, &number, sizeof(number));
    Store(L"Binary", REG_BINARY, binary, sizeof(binary));

    const struct {
        std::string name;
        std::int32_t result;
        std::uint32_t type;
        std::string data;
    } cases[] = {
        {"Text", kRegSuccess, kRegSz, spiele_utf8 + std::string(1, '\0')},
        {"text", kRegSuccess, kRegSz, spiele_utf8 + std::string(1, '\0')},
        {"Empty", kRegSuccess, kRegSz, std::string(1, '\0')},
        {"", kRegSuccess, kRegSz, std::string("default\0", 8)},
        {"Expand", kRegSuccess, kRegExpandSz, std::string("%ProgramFiles%\\RV\0", 18)},
        {"Number", kRegSuccess, kRegDword, std::string("\x01\x00\x00\x80", 4)},
        {"Binary", kRegSuccess, kRegBinary, std::string("\x01\x00\x02\x00", 4)},
        {"Missing", kRegNotFound, 0, ""},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE("value \"" + item.name + "\"");
        const Read read = ReadValue(item.name);
        EXPECT_EQ(read.result, item.result);
        EXPECT_EQ(read.data, item.data);
        if (item.result == kRegSuccess) {
            EXPECT_EQ(read.type, item.type);
        }
    }
}

TEST_F(RegistryOnWindows, RefusesABufferSmallerThanTheData) {
    Store(L"Folder", REG_SZ, L"C:\\Game", 8 * sizeof(wchar_t));
    RegKeyHandle handle = 0;
    ASSERT_EQ(registry_->OpenKey(kHKeyLocalMachine, key_utf8_, kQueryValue, handle), kRegSuccess);
    std::uint8_t buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    std::uint32_t type = 0;
    std::uint32_t size = 4;

    EXPECT_EQ(registry_->QueryValue(handle, "Folder", type, buffer, size), kRegMoreData);
    EXPECT_EQ(size, 8u);  // the UTF-8 byte count the data needs, its NUL included
    EXPECT_EQ(buffer[4], 'x');
    EXPECT_EQ(registry_->CloseKey(handle), kRegSuccess);
}

TEST_F(RegistryOnWindows, ReportsMissingKeysWithTheRegistrysCode) {
    const struct {
        const char* what;
        std::string key;
    } cases[] = {
        {"missing key", "Software\\RvRegistryTestMissing\\Nowhere"},
        {"key name that is not UTF-8", "Software\\\xC3("},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.what);
        RegKeyHandle handle = 12345;
        EXPECT_NE(registry_->OpenKey(kHKeyLocalMachine, item.key, kQueryValue, handle),
                  kRegSuccess);
        EXPECT_EQ(handle, 12345u) << "no handle is handed out on failure";
    }
    RegKeyHandle handle = 0;
    EXPECT_EQ(registry_->OpenKey(kHKeyLocalMachine, "Software\\RvRegistryTestMissing", kQueryValue,
                                 handle),
              kRegNotFound);
}

}  // namespace
}  // namespace rv::platform
