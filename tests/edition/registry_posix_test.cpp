#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "edition/fake_prefix.h"
#include "edition/reg_value_get.h"
#include "platform/registry.h"

namespace rv {
namespace {

using namespace std::string_literals;
using platform::kHKeyLocalMachine;
using test::FakePrefix;

const std::string kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const std::string kWin32 = kHead + "#arch=win32\n\n";
const std::string kWin64 = kHead + "#arch=win64\n\n";
const std::string k32Section = "[Software\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const std::string k64Section =
    "[Software\\\\Wow6432Node\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const RegValue kUntouched = "untouched"s;

struct HiveCase {
    const char* name;
    std::string hive;
    std::int32_t result;
    RegValue value;
};

TEST(WinePrefixRegistry, ReadsTheGameFolderFromSystemReg) {
    const std::vector<HiveCase> cases = {
        {"32-bit prefix", kWin32 + k32Section + "#time=1\n\"Folder\"=\"C:\\\\Games\\\\RV2004\"\n",
         0, "C:\\Games\\RV2004\0 "s},
        {"prefix of unknown kind", kHead + k32Section + "\"Folder\"=\"C:\\\\G\"\n", 0, "C:\\G\0 "s},
        {"64-bit prefix: the 32-bit view under Wow6432Node",
         kWin64 + k32Section + "\"Folder\"=\"C:\\\\Wrong\"\n" + k64Section +
             "\"Folder\"=\"C:\\\\Right\"\n",
         0, "C:\\Right\0 "s},
        {"64-bit prefix with the key only in the 64-bit view",
         kWin64 + k32Section + "\"Folder\"=\"C:\\\\G\"\n", 2, kUntouched},
        {"names matched without regard to case",
         kWin64 + "[SOFTWARE\\\\wow6432node\\\\ZENTOR TECHNOLOGY\\\\installed apps\\\\rv2004]\n"
                  "\"FOLDER\"=\"C:\\\\G\"\n",
         0, "C:\\G\0 "s},
        {"escaped quotes and backslashes",
         kWin32 + k32Section + R"("Folder"="C:\\A \"B\"\\")" + "\n", 0, "C:\\A \"B\"\\\0 "s},
        {"non-ASCII folder through a \\x escape",
         kWin32 + k32Section + R"("Folder"="C:\\Spiele\\R\x00e4v")" + "\n", 0,
         "C:\\Spiele\\R\xC3\xA4v\0 "s},
        {"text stored as hex(1) without NUL",
         kWin32 + k32Section + "\"Folder\"=hex(1):43,00,3a,00,5c,00,\\\n  47,00\n", 0, "C:\\G "s},
        {"expandable text is not read",
         kWin32 + k32Section + "\"Folder\"=str(2):\"%ProgramFiles%\\\\RV\"\n", 0, kUntouched},
        {"number", kWin32 + k32Section + "\"Folder\"=dword:80000000\n", 0,
         std::int32_t{-2147483647 - 1}},
        {"missing value", kWin32 + k32Section + "\"Path\"=\"C:\\\\G\"\n", 2, kUntouched},
        {"missing key", kWin32 + "[Software\\\\Other] 1\n\"Folder\"=\"x\"\n", 2, kUntouched},
        {"not a Wine hive", "REGEDIT4\n" + k32Section + "\"Folder\"=\"x\"\n", 5, kUntouched},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePrefix prefix;
        prefix.WriteSystemReg(c.hive);
        const auto registry = platform::OpenSystemRegistry();
        RegValue value = kUntouched;
        EXPECT_EQ(RegValueGet(*registry, kHKeyLocalMachine, kKey, "Folder", value), c.result);
        EXPECT_EQ(value, c.value);
    }
}

TEST(WinePrefixRegistry, TellsAMissingHiveFromAnUnreadableOne) {
    FakePrefix prefix;
    const auto registry = platform::OpenSystemRegistry();
    platform::RegKeyHandle handle = 0;
    EXPECT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 2) << "no system.reg";
    std::filesystem::create_directory(prefix.Root() / "system.reg");
    EXPECT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 5) << "a folder";
    std::filesystem::remove(prefix.Root() / "system.reg");
    std::filesystem::create_symlink("system.reg", prefix.Root() / "system.reg");
    EXPECT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 5) << "a looping link";
    std::filesystem::remove(prefix.Root() / "system.reg");
    prefix.WriteSystemReg(kWin32 + k32Section + "\"Folder\"=\"C:\\\\G\"\n");
    std::filesystem::resize_file(prefix.Root() / "system.reg", std::uintmax_t{300} << 20);
    EXPECT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 5) << "far too large";
    ::setenv("WINEPREFIX", (prefix.Root() / "absent").c_str(), 1);
    EXPECT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 2) << "no prefix";
}

TEST(WinePrefixRegistry, KeepsTheRegistryContractForHandlesAndBuffers) {
    FakePrefix prefix;
    prefix.WriteSystemReg(kWin32 + k32Section + "\"Folder\"=\"C:\\\\G\"\n");
    const auto registry = platform::OpenSystemRegistry();
    platform::RegKeyHandle handle = 0;
    ASSERT_EQ(registry->OpenKey(kHKeyLocalMachine, "Software\\Zentor Technology", 0x19, handle), 0)
        << "a key with only sub-keys exists";
    EXPECT_EQ(registry->CloseKey(handle), 0);
    EXPECT_EQ(registry->OpenKey(static_cast<std::int32_t>(0x80000001u), kKey, 0x19, handle), 2)
        << "only HKLM is kept";

    ASSERT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 0);
    // The hive is read at the open: a change afterwards shows only at the next open.
    prefix.WriteSystemReg(kWin32 + k32Section + "\"Folder\"=\"C:\\\\Changed\"\n");
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(registry->QueryValue(handle, "Folder", type, nullptr, size), 0);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(size, 5u);
    std::uint8_t buffer[8] = {};
    std::uint32_t small = 2;
    EXPECT_EQ(registry->QueryValue(handle, "Folder", type, buffer, small), 234);
    EXPECT_EQ(small, 5u);
    EXPECT_EQ(buffer[0], 0) << "nothing written into a buffer that is too small";
    EXPECT_EQ(registry->CloseKey(handle), 0);
    EXPECT_EQ(registry->CloseKey(handle), 6) << "closed twice";
    EXPECT_EQ(registry->QueryValue(handle, "Folder", type, nullptr, size), 6);

    RegValue value;
    EXPECT_EQ(RegValueGet(*registry, kHKeyLocalMachine, kKey, "Folder", value), 0);
    EXPECT_EQ(value, RegValue("C:\\Changed\0 "s));
}

}  // namespace
}  // namespace rv
