// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The Wine prefixes the game may run in, as players keep them. Linux only.
namespace rv::wine {

// Every Wine prefix on the machine, in the order the game is looked for in them: $WINEPREFIX
// and ~/.wine, then the prefixes that the launchers keep in their own places and name in their
// settings files. A settings file that is malformed, unreadable or names nothing is passed over.
// Each prefix comes once, under the name it was first found by.
std::vector<std::string> WinePrefixes();

}  // namespace rv::wine
