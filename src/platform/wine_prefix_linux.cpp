// SPDX-License-Identifier: MIT
#include "platform/wine_prefix_linux.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace rv::platform {

namespace {

// The window's one thread alone reads and sets it.
std::string& ChosenPrefix() {
    static std::string prefix;
    return prefix;
}

}  // namespace

std::optional<std::string> HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || *home == '\0') {
        return std::nullopt;
    }
    return std::string(home);
}

bool IsWinePrefix(const std::string& folder) {
    struct stat info {};
    return ::stat((folder + "/drive_c").c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::lstat((folder + "/system.reg").c_str(), &info) == 0;
}

std::optional<std::string> WinePrefixFolder() {
    if (!ChosenPrefix().empty()) {
        return ChosenPrefix();
    }
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix != nullptr && *prefix != '\0') {
        return std::string(prefix);
    }
    const std::optional<std::string> home = HomeFolder();
    if (!home) {
        return std::nullopt;
    }
    return *home + "/.wine";
}

void UseWinePrefix(const std::string& prefix) {
    ChosenPrefix() = prefix;
}

}  // namespace rv::platform
