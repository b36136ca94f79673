#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "edition/fake_prefix.h"
#include "edition/reg_value_get.h"
#include "platform/native_path.h"
#include "platform/registry.h"

namespace rv {
namespace {

using namespace std::string_literals;

std::string RunShell(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

// The one test on a prefix that Wine itself makes (a few seconds): the key is written as the
// game's 32-bit installer writes it, and the drive path is checked against Wine's own resolution.
TEST(RealWinePrefix, FindsWhatWineWroteAndResolvesPathsAsWineDoes) {
    if (std::system("command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") !=
        0) {
        GTEST_SKIP() << "wine is not installed";
    }
    test::FakePrefix scratch;
    const auto prefix = scratch.Root() / "wine";
    const std::string env = "WINEPREFIX='" + prefix.string() +
                            "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' DISPLAY= ";
    RunShell(env +
             "wine reg add 'HKLM\\Software\\Zentor Technology\\Installed Apps\\RV2004' /v Folder "
             "/t REG_SZ /d 'C:\\Games\\Ravager 2004\\' /f /reg:32 2>&1; " +
             env + "wineserver -w");
    ASSERT_TRUE(std::filesystem::exists(prefix / "system.reg")) << "wine made no prefix";

    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    const auto registry = platform::OpenSystemRegistry();
    RegValue value;
    EXPECT_EQ(RegValueGet(*registry, platform::kHKeyLocalMachine,
                          "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004", "Folder", value),
              0);
    EXPECT_EQ(value, RegValue("C:\\Games\\Ravager 2004\\\0 "s));

    std::string wine_path =
        RunShell(env + "winepath -u 'C:\\windows\\system32' 2>/dev/null; " + env + "wineserver -w");
    while (!wine_path.empty() && (wine_path.back() == '\n' || wine_path.back() == '/')) {
        wine_path.pop_back();
    }
    EXPECT_EQ(platform::ResolveNativePath("C:\\WINDOWS\\System32"), wine_path);
}

}  // namespace
}  // namespace rv
