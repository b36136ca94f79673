// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/absolute_path.h"
#include "support/temp_folder.h"

namespace rv {
namespace {

// Each form a user types, and the absolute path the command line keeps: CWD stands for the
// working folder, UP for the folder above it.
TEST(AbsolutePath, TheFormsUsersType) {
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"Arena", "CWD/Arena"},
        {"./Arena/", "CWD/Arena"},
        {"../Arena", "UP/Arena"},
        {"Addons/../Arena//", "CWD/Arena"},
        {"/srv/addons/./Arena/", "/srv/addons/Arena"},
        {"/", "/"},
        {"a:b", "CWD/a:b"},                            // ':' is an ordinary character here
        {"C:\\Games\\RV2004\\", "C:\\Games\\RV2004"},  // the form the program prints
        {"c:/Games/RV2004", "c:/Games/RV2004"},
        {"C:\\", "C:\\"},
    };
    const test::TempFolder temp;
    temp.AddFolder("cwd");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(temp.Path("cwd"));
    for (const auto& [given, expected] : forms) {
        std::string wanted = expected;
        if (wanted.starts_with("CWD")) {
            wanted.replace(0, 3, temp.Path("cwd"));
        } else if (wanted.starts_with("UP")) {
            wanted.replace(0, 2, temp.Path());
        }
        EXPECT_EQ(platform::AbsolutePath(given), wanted) << given;
    }
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace rv
