// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/game_folder_names.h"
#include "core/installer.h"
#include "edition/edition_selection.h"
#include "edition/reg_value_get.h"
#include "platform/native_path.h"
#include "platform/registry.h"
#include "support/fake_prefix.h"
#include "support/recording_window.h"

namespace rv {
namespace {

using namespace std::string_literals;
using platform::kHKeyLocalMachine;

const std::string kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
const std::string k2003 = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2003";
const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const std::string kWin32 = kHead + "#arch=win32\n\n", kWin64 = kHead + "#arch=win64\n\n";
const std::string k32Section = "[Software\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const std::string k64Section =
    "[Software\\\\Wow6432Node\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n";
const RegValue kUntouched = "untouched"s;

using test::FakePrefix;

// Makes the game database of the launcher that keeps one: a settings file name and the game's
// folder per row.
void MakeGameDatabase(const std::string& path, const std::string& rows) {
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
    const std::string sql =
        "CREATE TABLE games (id INTEGER PRIMARY KEY, slug TEXT, directory TEXT, configpath TEXT);"
        "INSERT INTO games (configpath, directory) VALUES " +
        rows + ";";
    EXPECT_EQ(sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(database);
}

// Lays the files out below root; "@" in a path or text stands for the root. Every system.reg
// comes with drive_c and dosdevices/c: beside it. Special texts: "fifo" makes a named pipe, "rm"
// removes the path, "sql:" makes a game database of the rows that follow, "env:" sets the
// variable that the path names.
void LayOutFiles(const FakePrefix& root,
                 const std::vector<std::pair<std::string, std::string>>& files) {
    for (auto [path, content] : files) {
        for (auto at = content.find('@'); at != std::string::npos; at = content.find('@')) {
            content.replace(at, 1, root.Path());
        }
        if (content.starts_with("env:")) {
            ::setenv(path.c_str(), content.substr(4).c_str(), 1);
        } else if (content == "rm") {
            std::filesystem::remove_all(root.Path(path));
        } else if (content.starts_with("sql:")) {
            root.AddFolder(std::filesystem::path(path).parent_path().string());
            MakeGameDatabase(root.Path(path), content.substr(4));
        } else if (content == "fifo") {
            root.AddFolder(std::filesystem::path(path).parent_path().string());
            ASSERT_EQ(::mkfifo(root.Path(path).c_str(), 0600), 0);
        } else {
            root.AddFile(path, content);
        }
        if (path.ends_with("/system.reg")) {
            root.LayOut(path.substr(0, path.size() - 10));
        }
    }
}

// Of the prefixes that hold the key, the first in the search order whose key names a folder that
// exists there answers, else the first, and its drive letters count; the others are named beside
// it. Launcher settings are read as each launcher writes them, broken ones passed over. Without
// the key, the prefixes searched are named, and a key only in the 64-bit view gets the command
// that registers it for the 32-bit game. One row per launcher's form; the last column is what
// follows the prefix in FoundIn, or a line expected in WhereLooked when no prefix answers.
TEST(WinePrefixRegistry, FindsTheGameInTheFirstPrefixOfTheLaunchersThatHoldsIt) {
    const std::string folder = "\"Folder\"=\"C:\\\\G\"\n";
    const std::string key32 = kWin32 + k32Section + folder, key64 = kWin64 + k64Section + folder;
    const std::string unmarked = kHead + k32Section + folder, bare = kWin32 + k32Section;
    const std::string steam = "home/.local/share/Steam/", lutris = "home/.config/lutris/games/",
                      lutris_data = "home/.local/share/lutris/", heroic = "/GamesConfig/rv.json";
    struct Case {
        std::vector<std::pair<std::string, std::string>> files;
        std::string found, more;
    };
    const std::vector<Case> cases = {
        {{{"system.reg", kHead}, {"home/.wine/system.reg", key32}}, "home/.wine", ""},
        {{{"system.reg", key64}, {"home/.wine/system.reg", key32}},
         "",
         "\nAlso registered in:\n@/home/.wine"},
        {{{lutris + "a.yml", "game: [prefix"},
          {lutris + "b.yml", "game:\n  prefix: ~/Games/other\n"},
          {lutris + "c.yml", "fifo"},
          {"home/Games/other/system.reg", kWin64 + k32Section},
          {lutris_data + "games/rv.yml", "game:\n  prefix: ~/p/rv\n"},
          {"home/p/rv/system.reg", key32},
          {"home/Games/rv/system.reg", key32}},
         "home/p/rv",
         "\nAlso registered in:\n@/home/Games/rv"},
        {{{lutris_data + "pga.db", "sql:('rv-1', '@/gog/rv'), ('rv-2', '@/x')"},
          {lutris_data + "games/rv-1.yml", "game:\n  exe: drive_c/G/rv.exe\n"},
          {"gog/rv/system.reg", bare},
          {lutris_data + "games/rv-2.yml", "game:\n  exe: @/abs/drive_c/G/rv.exe\n"},
          {"abs/system.reg", key32},
          {"abs/drive_c/G/rv.exe", ""}},
         "abs",
         "\nAlso registered in:\n@/gog/rv"},
        {{{"home/.var/app/net.lutris.Lutris/data/lutris/pga.db", "fifo"},
          {"XDG_DATA_HOME", "env:@/data"},
          {"data/lutris/pga.db", "sql:('rv', '@/gog/rv')"},
          {"data/lutris/games/rv.yml", "game:\n  exe: rv.exe\n"},
          {"gog/rv/system.reg", key32}},
         "gog/rv",
         ""},
        {{{"home/.steam/steam/config/libraryfolders.vdf", "\"f\" { \"1\" { \"path\" \"@/a\" }"},
          {"a/steamapps/compatdata/1/pfx/system.reg", key32},
          {steam + "config/libraryfolders.vdf",
           "// libraries\n\"libraryfolders\" { \"0\" { \"path\" \"@/lib\" \"apps\" { \"2\" "
           "\"9\" } } }"},
          {"lib/SteamApps/compatdata/1/pfx/system.reg", kWin64 + k32Section},
          {"lib/SteamApps/compatdata/2/pfx/system.reg", key64},
          {steam + "steamapps/compatdata/3/pfx/system.reg", kHead}},
         "lib/SteamApps/compatdata/2/pfx",
         ""},
        {{{"XDG_CONFIG_HOME", "env:@/cfg"},
          {"cfg/heroic/GamesConfig/a.json", "{\"a\": "},
          {"home/.config/heroic" + heroic, R"({"rv": {"winePrefix": "~/old"}})"},
          {"home/old/system.reg", key32},
          {"cfg/heroic" + heroic,
           R"({"x": 1, "rv": {"winePrefix": "~/H/rv", "wineVersion": {"type": "proton"}}})"},
          {"home/H/rv/system.reg", key32},
          {"home/H/rv/pfx/system.reg", key32}},
         "home/H/rv/pfx",
         ""},
        {{{"home/.local/share/bottles/bottles/rv/placeholder.yml", "Path: @/moved"},
          {"moved/system.reg", bare},
          {"home/.local/share/bottles/data.yml", "custom_bottles_path: @/custom"},
          {"custom/b/placeholder.yml", "Path: @/b"},
          {"b/system.reg", key32},
          {"b/drive_c/G/x", ""}},
         "b",
         "\nAlso registered in:\n@/moved"},
        {{{"home/.wine/system.reg", unmarked},
          {"home/.wine/drive_c/windows/syswow64/x", ""},
          {"home/.PlayOnLinux/wineprefix/rv/system.reg", unmarked},
          {"home/.local/share/wineprefixes/rv/system.reg", key64},
          {"home/.cxoffice/rv/system.reg", key32},
          {"home/.cxoffice/rv/drive_c", "rm"}},
         "home/.PlayOnLinux/wineprefix/rv",
         "\nAlso registered in:\n@/home/.local/share/wineprefixes/rv"},
        {{{"home/.cxoffice/rv/system.reg", kWin64 + k32Section + folder}},
         "none",
         "WINEPREFIX='@/home/.cxoffice/rv' wine reg add 'HKLM\\" + kKey +
             "' /v 'folder' /t REG_SZ /d 'C:\\G' /f /reg:32"},
    };
    for (const auto& [files, found, more] : cases) {
        SCOPED_TRACE(found);
        FakePrefix root;
        LayOutFiles(root, files);
        std::string also = more;
        for (auto at = also.find('@'); at != std::string::npos; at = also.find('@')) {
            also.replace(at, 1, root.Path());
        }
        const auto registry = platform::OpenSystemRegistry();
        RegValue value;
        EXPECT_EQ(RegValueGet(*registry, kHKeyLocalMachine, kKey, "Folder", value),
                  found == "none" ? 2 : 0);
        const std::string prefix = found.empty() ? root.Path() : root.Path(found);
        EXPECT_EQ(registry->FoundIn(), found == "none" ? "" : "Wine prefix: " + prefix + also);
        EXPECT_EQ(platform::ResolveNativePath("C:\\x"),
                  found == "none" ? root.Path("dosdevices/c:/x") : prefix + "/dosdevices/c:/x");
        if (found == "none") {
            EXPECT_THAT(registry->WhereLooked(),
                        testing::HasSubstr(kKey + ":\n" + root.Path("home/.cxoffice/rv\n")));
            EXPECT_THAT(registry->WhereLooked(), testing::HasSubstr(also));
        }
    }
}

// The window's status line tells where the key was looked for when no prefix holds it.
TEST(WinePrefixRegistry, TellsWhereItLookedInTheStatusToolTip) {
    FakePrefix root;
    ::unsetenv("WINEPREFIX");
    test::RecordingWindow window;
    RV2003_2004_Add_On_Installer installer{window};
    const auto registry = platform::OpenSystemRegistry();
    EditionSelection(window, installer, *registry).Form_Load();
    EXPECT_EQ(window.ToolTip("lbl_status"),
              "No Wine prefix was found to look for HKEY_LOCAL_MACHINE\\" + kKey +
                  " in: none at $WINEPREFIX, ~/.wine or in the launchers' folders.");
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

// A game folder's sub-folder and file names are found as Wine finds them: the exact name when it
// is there, else the first in byte order of its case twins, whatever the listing's order.
TEST(GameFolderNames, ChoosesAmongCaseTwinsAsWineDoes) {
    const test::TempFolder game;
    game.AddFiles({"maps/a.rv2", "MAPS/b.rv2", "System/both.u", "System/Both.u", "Sounds/x.uax",
                   "sounds/x.uax"});
    GameFolderNames names(game.Path());
    const std::vector<std::tuple<Category, std::string, std::string>> cases = {
        {Category::Maps, "A.rv2", "MAPS/A.rv2"},
        {Category::System, "BOTH.u", "System/Both.u"},
        {Category::System, "both.u", "System/both.u"},
        {Category::Sounds, "X.UAX", "Sounds/x.uax"},
    };
    for (const auto& [category, name, path] : cases) {
        EXPECT_EQ(names.TargetPath(category, name), game.Path(path)) << name;
    }
}

// On a prefix Wine itself makes: the key as the game's 32-bit installer writes it, one written
// without /reg:32 told apart with the command that fixes it, and a drive path checked against
// Wine's own resolution. Both commands share one server that ends as soon as
// they do (no lingering), which writes the registry out; making the prefix is most of the time.
TEST(RealWinePrefix, FindsWhatWineWroteAndResolvesPathsAsWineDoes) {
    if (std::system("(command -v wine && command -v wineserver) >/dev/null") != 0) {
        GTEST_SKIP() << "wine is not installed";
    }
    const test::TempFolder scratch;
    scratch.AddFolder("wine");
    const std::string env =
        "WINEPREFIX='" + scratch.Path("wine") +
        "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' "
        "DISPLAY= ";
    const std::string out = scratch.Path("out");
    static_cast<void>(std::system(
        (env + "wineserver -p0 && " + env + "wine reg add 'HKLM\\" + kKey +
         "' /v Folder /t REG_SZ /d 'C:\\Games\\Ravager 2004\\' /f /reg:32 >/dev/null 2>&1; " + env +
         "wine reg add 'HKLM\\" + k2003 + "' /v Folder /d 'C:\\X' /f >/dev/null 2>&1; " + env +
         "winepath -u 'C:\\windows\\system32' >" + out + " 2>/dev/null; " + env + "wineserver -w")
            .c_str()));
    ASSERT_TRUE(test::Exists(scratch.Path("wine/system.reg"))) << "wine made no prefix";
    ::setenv("WINEPREFIX", scratch.Path("wine").c_str(), 1);
    RegValue value;
    EXPECT_EQ(
        RegValueGet(*platform::OpenSystemRegistry(), kHKeyLocalMachine, kKey, "Folder", value), 0);
    EXPECT_EQ(value, RegValue("C:\\Games\\Ravager 2004\\\0 "s));
    const auto registry = platform::OpenSystemRegistry();
    EXPECT_EQ(RegValueGet(*registry, kHKeyLocalMachine, k2003, "Folder", value), 2);
    EXPECT_THAT(registry->WhereLooked(),
                testing::HasSubstr("wine reg add 'HKLM\\" + k2003 +
                                   "' /v 'folder' /t REG_SZ /d 'C:\\X' /f /reg:32"))
        << "written without /reg:32, the key is in the 64-bit view";
    std::string wine_path = test::ReadWhole(out);
    while (wine_path.ends_with('\n') || wine_path.ends_with('/')) {
        wine_path.pop_back();
    }
    EXPECT_EQ(platform::ResolveNativePath("C:\\WINDOWS\\System32"), wine_path);
}

}  // namespace
}  // namespace rv
