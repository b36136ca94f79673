// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// Where drive letters lead on Linux: the Wine prefix a drive-letter path is resolved in. Which
// prefixes the machine holds, and which of them has the game, is the Wine layer's to find out.
// Linux only.
namespace rv::platform {

// $HOME, else the home folder the user database names.
std::optional<std::string> HomeFolder();

// A folder is a Wine prefix when it holds drive_c and system.reg.
bool IsWinePrefix(const std::string& folder);

// The prefix whose drive letters a drive-letter path means: the one UseWinePrefix named last,
// else $WINEPREFIX, else ~/.wine, as for Wine itself.
std::optional<std::string> WinePrefixFolder();

// Makes drive letters mean those of the given prefix; an empty name returns to the default.
void UseWinePrefix(const std::string& prefix);

}  // namespace rv::platform
