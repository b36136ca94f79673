// SPDX-License-Identifier: MIT
#include "platform/absolute_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace rv {
namespace {

// Each form a user types, and the absolute path the command line keeps: CWD stands for the
// working folder, UP for the folder above it, D: for the working folder's drive.
#ifdef _WIN32
const std::vector<std::pair<std::string, std::string>> kForms = {
    {"Arena", "CWD\\Arena"},
    {".\\Arena\\", "CWD\\Arena"},
    {"..\\Arena", "UP\\Arena"},
    {"Addons/../Arena/", "CWD\\Arena"},
    {"D:Arena", "CWD\\Arena"},  // drive-relative: that drive's working folder
    {"\\Addons\\Arena", "D:\\Addons\\Arena"},
    {"C:/Addons/./Arena/", "C:\\Addons\\Arena"},
    {"C:\\Addons\\..\\Arena", "C:\\Arena"},
    {"C:\\", "C:\\"},
    {"\\\\nas\\share\\Addon\\", "\\\\nas\\share\\Addon"},
    {"\\\\nas\\share\\Addon", "\\\\nas\\share\\Addon"},
    {"\\\\?\\C:\\Addons\\Arena", "\\\\?\\C:\\Addons\\Arena"},
};
#else
const std::vector<std::pair<std::string, std::string>> kForms = {
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
#endif

TEST(AbsolutePath, TheFormsUsersType) {
    const test::TempFolder temp;
    temp.AddFolder("cwd");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(test::NativePath(temp.Path("cwd")));
    const std::string cwd = test::TextOf(std::filesystem::current_path());
    for (auto [given, expected] : kForms) {
        for (std::string* text : {&given, &expected}) {
            if (text->starts_with("CWD")) {
                text->replace(0, 3, cwd);
            } else if (text->starts_with("UP")) {
                text->replace(0, 2, cwd.substr(0, cwd.rfind(platform::kPathSeparator)));
            } else if (text->starts_with("D:")) {
                text->replace(0, 2, cwd.substr(0, 2));
            }
        }
        EXPECT_EQ(platform::AbsolutePath(given), expected) << given;
    }
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace rv
