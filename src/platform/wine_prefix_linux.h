#pragma once

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

// The Wine prefix the game runs in, for the Linux backends: $WINEPREFIX when set, else the
// default prefix ~/.wine. Linux only.
namespace rv::platform {

inline std::optional<std::string> WinePrefixFolder() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix != nullptr && *prefix != '\0') {
        return std::string(prefix);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || *home == '\0') {
        return std::nullopt;
    }
    return std::string(home) + "/.wine";
}

}  // namespace rv::platform
