#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "edition/fake_prefix.h"
#include "platform/native_path.h"

namespace rv::platform {
namespace {

using test::FakePrefix;

TEST(ResolveNativePath, FindsDriveLetterPathsThroughThePrefixWithoutRegardToCase) {
    FakePrefix prefix;
    const auto game = prefix.DriveC() / "Games" / "RV2004";
    FakePrefix::Write(game / "Maps" / "arena.rv2", "map");
    FakePrefix::Write(game / "System" / "Both.u", "upper");
    FakePrefix::Write(game / "System" / "both.u", "lower");
    FakePrefix::Write(game / "System" / "bOTH.ini", "");
    FakePrefix::Write(game / "System" / "Both.ini", "");
    std::filesystem::create_directories(game / "R\xC3\xA4v");
    const std::string c = prefix.Root().string() + "/dosdevices/c:";

    struct Case {
        std::string path;
        std::string resolved;
    };
    const std::vector<Case> cases = {
        {"C:\\Games\\RV2004", c + "/Games/RV2004"},
        {"c:\\GAMES\\rv2004\\maps\\ARENA.RV2", c + "/Games/RV2004/Maps/arena.rv2"},
        {"C:/Games/RV2004\\Maps/", c + "/Games/RV2004/Maps/"},
        {"C:\\\\Games\\RV2004\\\\Maps", c + "/Games/RV2004/Maps"},
        {"C:\\Games\\RV2004\\Maps\\Arena2.rv2", c + "/Games/RV2004/Maps/Arena2.rv2"},
        {"C:\\GAMES\\Nope\\MAPS\\A.rv2", c + "/Games/Nope/MAPS/A.rv2"},
        {"C:\\Games\\RV2004\\System\\BOTH.u", c + "/Games/RV2004/System/Both.u"},
        {"C:\\Games\\RV2004\\System\\both.u", c + "/Games/RV2004/System/both.u"},
        {"C:\\Games\\RV2004\\System\\BOTH.INI", c + "/Games/RV2004/System/Both.ini"},
        {"C:\\Games\\RV2004\\R\xC3\xA4v", c + "/Games/RV2004/R\xC3\xA4v"},
        {"C:\\Games\\RV2004\\R\xC3\x84V", c + "/Games/RV2004/R\xC3\xA4v"},
        {"C:\\", c + "/"},
        {"C:", c},
        {"D:\\Add\\Maps", prefix.Root().string() + "/dosdevices/d:/Add/Maps"},
        {"/home/user/Game", "/home/user/Game"},
        {"Games\\RV2004", "Games\\RV2004"},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {"1:\\x", "1:\\x"},
        {"", ""},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.path);
        EXPECT_EQ(ResolveNativePath(entry.path), entry.resolved);
    }
    // The existence test through a resolved path sees the file as the game does.
    EXPECT_TRUE(std::filesystem::exists(ResolveNativePath("C:\\GAMES\\RV2004\\Maps\\Arena.rv2")));
}

TEST(ResolveNativePath, UsesTheHomePrefixWithoutWinePrefix) {
    FakePrefix home;
    const std::string old_home = ::getenv("HOME") != nullptr ? ::getenv("HOME") : "";
    ::setenv("HOME", home.Root().c_str(), 1);
    ::unsetenv("WINEPREFIX");
    const std::string resolved = ResolveNativePath("C:\\x");
    ::setenv("HOME", old_home.c_str(), 1);
    EXPECT_EQ(resolved, home.Root().string() + "/.wine/dosdevices/c:/x");
}

}  // namespace
}  // namespace rv::platform
