// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "edition/reg_value_get.h"
#include "platform/native_path.h"
#include "platform/registry.h"
#include "support/fake_prefix.h"

namespace rv {
namespace {

using namespace std::string_literals;
using platform::kHKeyLocalMachine;

const std::string kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const std::string kWin32 = kHead + "#arch=win32\n\n", kWin64 = kHead + "#arch=win64\n\n";
const std::string k32Section = "[Software\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const std::string k64Section =
    "[Software\\\\Wow6432Node\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const RegValue kUntouched = "untouched"s;

using test::FakePrefix;

// The first prefix in the search order whose hive holds the key answers, and its drive letters
// count; launcher settings are read as each launcher writes them, broken ones passed over. Every
// system.reg comes with drive_c and dosdevices/c: beside it; "@" in a file stands for the root.
TEST(WinePrefixRegistry, FindsTheGameInTheFirstPrefixOfTheLaunchersThatHoldsIt) {
    const std::string key32 = kWin32 + k32Section + "\"Folder\"=\"C:\\\\G\"\n";
    const std::string key64 = kWin64 + k64Section + "\"Folder\"=\"C:\\\\G\"\n";
    const std::string unmarked = kHead + k32Section + "\"Folder\"=\"C:\\\\G\"\n";
    const std::string launcher_root = "home/.local/share/Steam/",
                      game_settings = "home/.config/lutris/games/";
    const std::vector<std::pair<std::vector<std::pair<std::string, std::string>>, std::string>>
        cases = {
            {{{"system.reg", kHead}, {"home/.wine/system.reg", key32}}, "home/.wine"},
            {{{"system.reg", key64}, {"home/.wine/system.reg", key32}}, ""},
            {{{game_settings + "a.yml", "game: [prefix"},
              {game_settings + "b.yml", "game:\n  prefix: ~/Games/other\n"},
              {game_settings + "c.yml", "fifo"},
              {"home/Games/other/system.reg", kWin64 + k32Section},
              {"home/.local/share/lutris/games/rv.yml", "game:\n  prefix: ~/p/rv\n"},
              {"home/p/rv/system.reg", key32},
              {"home/Games/rv/system.reg", key32}},
             "home/p/rv"},
            {{{"home/.steam/steam/config/libraryfolders.vdf", "\"f\" { \"1\" { \"path\" \"@/a\" }"},
              {"a/steamapps/compatdata/1/pfx/system.reg", key32},
              {launcher_root + "config/libraryfolders.vdf",
               "// libraries\n\"libraryfolders\" { \"0\" { \"path\" \"@/lib\" \"apps\" { \"2\" "
               "\"9\" } } }"},
              {"lib/SteamApps/compatdata/1/pfx/system.reg", kWin64 + k32Section},
              {"lib/SteamApps/compatdata/2/pfx/system.reg", key64},
              {launcher_root + "steamapps/compatdata/3/pfx/system.reg", kHead}},
             "lib/SteamApps/compatdata/2/pfx"},
            {{{"home/.config/heroic/GamesConfig/a.json", "{\"a\": "},
              {"home/.config/heroic/GamesConfig/rv.json",
               R"({"x": 1, "rv": {"winePrefix": "~/H/rv", "wineVersion": {"type": "proton"}}})"},
              {"home/H/rv/system.reg", key32},
              {"home/H/rv/pfx/system.reg", key32}},
             "home/H/rv/pfx"},
            {{{"home/.local/share/bottles/bottles/rv/placeholder.yml", "Path: @/moved"},
              {"moved/system.reg", key32},
              {"home/.local/share/bottles/data.yml", "custom_bottles_path: @/custom"},
              {"custom/b/system.reg", key32}},
             "moved"},
            {{{"home/.local/share/bottles/data.yml", "custom_bottles_path: @/custom"},
              {"custom/b/system.reg", key32}},
             "custom/b"},
            {{{"home/.wine/system.reg", unmarked},
              {"home/.wine/drive_c/windows/syswow64/x", ""},
              {"home/.PlayOnLinux/wineprefix/rv/system.reg", unmarked}},
             "home/.PlayOnLinux/wineprefix/rv"},
            {{{"home/.local/share/wineprefixes/rv/system.reg", key64}},
             "home/.local/share/wineprefixes/rv"},
            {{{"home/.cxoffice/rv/system.reg", key32}}, "home/.cxoffice/rv"},
            {{{"home/.cxoffice/rv/system.reg", kHead}}, "none"},
        };
    for (const auto& [files, found] : cases) {
        SCOPED_TRACE(found);
        FakePrefix root;
        for (auto [path, content] : files) {
            for (auto at = content.find('@'); at != std::string::npos; at = content.find('@')) {
                content.replace(at, 1, root.Path());
            }
            root.AddFile(path, content);
            if (content == "fifo") {  // made a named pipe
                std::filesystem::remove(root.Path(path));
                ASSERT_EQ(::mkfifo(root.Path(path).c_str(), 0600), 0);
            }
            if (path.ends_with("/system.reg")) {
                root.LayOut(path.substr(0, path.size() - 10));
            }
        }
        const auto registry = platform::OpenSystemRegistry();
        RegValue value;
        EXPECT_EQ(RegValueGet(*registry, kHKeyLocalMachine, kKey, "Folder", value),
                  found == "none" ? 2 : 0);
        const std::string prefix = found.empty() ? root.Path() : root.Path(found);
        EXPECT_EQ(registry->FoundIn(), found == "none" ? "" : "Wine prefix: " + prefix);
        EXPECT_EQ(platform::ResolveNativePath("C:\\x"),
                  found == "none" ? root.Path("dosdevices/c:/x") : prefix + "/dosdevices/c:/x");
    }
}

// The hive of a prefix without the 64-bit marks is a 32-bit one; only HKLM is kept, and a key
// with only sub-keys exists. The hive is read at each open: a change shows from the next open on.
// A hive that is missing (2) is told from one that cannot be used (5).
TEST(WinePrefixRegistry, ReadsSystemRegAtEachOpenAndTellsAMissingHiveFromAnUnusableOne) {
    FakePrefix prefix;
    const std::string hive = prefix.Path("system.reg");
    const auto registry = platform::OpenSystemRegistry();
    const auto read = [&](const std::string& key, std::int32_t root = kHKeyLocalMachine) {
        RegValue value = kUntouched;
        const std::int32_t result = RegValueGet(*registry, root, key, "Folder", value);
        return std::pair(result, value);
    };
    prefix.AddFile("system.reg", kHead + k32Section + "\"Folder\"=\"C:\\\\G\"\n");
    EXPECT_EQ(read(kKey), std::pair(0, RegValue("C:\\G\0 "s)));
    EXPECT_EQ(read(kKey, static_cast<std::int32_t>(0x80000001u)), std::pair(2, kUntouched));
    platform::RegKeyHandle handle = 0;
    ASSERT_EQ(registry->OpenKey(kHKeyLocalMachine, "Software\\Zentor Technology", 0x19, handle), 0);
    EXPECT_EQ(registry->CloseKey(handle), 0);
    ASSERT_EQ(registry->OpenKey(kHKeyLocalMachine, kKey, 0x19, handle), 0);
    prefix.AddFile("system.reg", kHead + k32Section + "\"Folder\"=\"C:\\\\Changed\"\n");
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(registry->QueryValue(handle, "Folder", type, nullptr, size), 0);
    EXPECT_EQ(size, 5u) << "as it was at the open";
    EXPECT_EQ(registry->CloseKey(handle), 0);
    EXPECT_EQ(registry->QueryValue(handle, "Folder", type, nullptr, size), 6) << "closed";
    EXPECT_EQ(read(kKey), std::pair(0, RegValue("C:\\Changed\0 "s)));

    prefix.AddFile("system.reg", "REGEDIT4\n" + k32Section + "\"Folder\"=\"x\"\n");
    EXPECT_EQ(read(kKey).first, 5) << "not a hive";
    std::filesystem::resize_file(hive, std::uintmax_t{300} << 20);
    EXPECT_EQ(read(kKey).first, 5) << "far too large";
    std::filesystem::remove(hive);
    EXPECT_EQ(read(kKey).first, 2) << "no system.reg";
    std::filesystem::create_symlink("system.reg", hive);
    EXPECT_EQ(read(kKey).first, 5) << "a looping link";
    std::filesystem::remove(hive);
    std::filesystem::create_directory(hive);
    EXPECT_EQ(read(kKey).first, 5) << "a folder";
    ::setenv("WINEPREFIX", prefix.Path("absent").c_str(), 1);
    EXPECT_EQ(read(kKey).first, 2) << "no prefix";
}

// Drive letters go through dosdevices, after "." and ".." are collapsed within the drive; each part
// is found without regard to case (the first in byte order when several match) until one matches
// nothing, and the rest is kept as written. Without WINEPREFIX the prefix is ~/.wine.
TEST(ResolveNativePath, FindsDriveLetterPathsThroughThePrefixWithoutRegardToCase) {
    FakePrefix prefix;
    for (const char* file : {"Maps/arena.rv2", "System/Both.u", "System/both.u", "System/bOTH.ini",
                             "System/Both.ini", "R\xC3\xA4v/x"}) {
        prefix.AddFile("drive_c/Games/RV2004/"s + file);
    }
    const std::string c = prefix.Path("dosdevices/c:"), game = c + "/Games/RV2004";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"c:\\GAMES\\rv2004\\maps\\ARENA.RV2", game + "/Maps/arena.rv2"},
        {"C:/Games/RV2004\\Maps/", game + "/Maps/"},
        {"C:\\\\Games\\RV2004\\\\Maps", game + "/Maps"},
        {"C:\\Games\\RV2004\\Maps\\Arena2.rv2", game + "/Maps/Arena2.rv2"},
        {"C:\\GAMES\\Nope\\MAPS\\A.rv2", c + "/Games/Nope/MAPS/A.rv2"},
        {"C:\\Games\\RV2004\\System\\BOTH.u", game + "/System/Both.u"},
        {"C:\\Games\\RV2004\\System\\both.u", game + "/System/both.u"},
        {"C:\\Games\\RV2004\\System\\BOTH.INI", game + "/System/Both.ini"},
        {"C:\\Games\\RV2004\\R\xC3\x84V", game + "/R\xC3\xA4v"},
        {"C:\\", c + "/"},
        {"C:\\..\\..\\Games\\.\\x\\..\\RV2004\\Maps", game + "/Maps"},
        {"C:\\Games\\..\\..\\..", c},
        {"C:\\..\\..\\etc", c + "/etc"},
        {"C:", c},
        {"D:\\Add\\Maps", prefix.Path("dosdevices/d:/Add/Maps")},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {"1:\\x", "1:\\x"},
        {"", ""},
    };
    for (const auto& [path, resolved] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(platform::ResolveNativePath(path), resolved);
    }
    ::unsetenv("WINEPREFIX");
    EXPECT_EQ(platform::ResolveNativePath("C:\\x"), prefix.Path("home/.wine/dosdevices/c:/x"))
        << "the home prefix by default";
}

// On a prefix Wine itself makes (a few seconds): the key as the game's 32-bit installer writes
// it, and a drive path checked against Wine's own resolution.
TEST(RealWinePrefix, FindsWhatWineWroteAndResolvesPathsAsWineDoes) {
    if (std::system("(command -v wine && command -v wineserver) >/dev/null") != 0) {
        GTEST_SKIP() << "wine is not installed";
    }
    const test::TempFolder scratch;
    const std::string env = "WINEPREFIX='" + scratch.Path("wine") +
                            "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' DISPLAY= ";
    const auto wine = [&](const std::string& command) {
        const std::string out = scratch.Path("out");
        static_cast<void>(std::system(
            (env + command + " >" + out + " 2>/dev/null; " + env + "wineserver -w").c_str()));
        return test::ReadWhole(out);
    };
    wine("wine reg add 'HKLM\\" + kKey +
         "' /v Folder /t REG_SZ /d 'C:\\Games\\Ravager 2004\\' /f /reg:32");
    ASSERT_TRUE(test::Exists(scratch.Path("wine/system.reg"))) << "wine made no prefix";
    ::setenv("WINEPREFIX", scratch.Path("wine").c_str(), 1);
    RegValue value;
    EXPECT_EQ(
        RegValueGet(*platform::OpenSystemRegistry(), kHKeyLocalMachine, kKey, "Folder", value), 0);
    EXPECT_EQ(value, RegValue("C:\\Games\\Ravager 2004\\\0 "s));
    std::string wine_path = wine("winepath -u 'C:\\windows\\system32'");
    while (wine_path.ends_with('\n') || wine_path.ends_with('/')) {
        wine_path.pop_back();
    }
    EXPECT_EQ(platform::ResolveNativePath("C:\\WINDOWS\\System32"), wine_path);
}

}  // namespace
}  // namespace rv
