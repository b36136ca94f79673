// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

// The Wine prefixes the game may run in, for the Linux backends. Linux only.
namespace rv::platform {

// $HOME, else the home folder the user database names.
std::optional<std::string> HomeFolder();

// A folder is a Wine prefix when it holds drive_c and system.reg.
bool IsWinePrefix(const std::string& folder);

// Every Wine prefix on the machine, in the order the game is looked for in them: $WINEPREFIX
// and ~/.wine, then the prefixes that the launchers keep in their own places and name in their
// settings files. A settings file that is malformed, unreadable or names nothing is passed over.
// Each prefix comes once, under the name it was first found by.
std::vector<std::string> WinePrefixes();

// The prefix whose drive letters a drive-letter path means: the one UseWinePrefix named last,
// else $WINEPREFIX, else ~/.wine, as for Wine itself.
std::optional<std::string> WinePrefixFolder();

// Makes drive letters mean those of the given prefix; an empty name returns to the default.
void UseWinePrefix(const std::string& prefix);

}  // namespace rv::platform
