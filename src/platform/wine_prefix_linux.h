// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// The name of the folder's entry that Wine opens for the wanted name: the name itself when it
// exists, else the first in byte order of the names that differ from it only in case (folded as
// Wine folds names); none when no entry matches or the folder cannot be listed.
std::optional<std::string> EntryIgnoringCase(const std::string& folder, std::string_view wanted);

// Makes drive letters mean those of the given prefix; an empty name returns to the default.
void UseWinePrefix(const std::string& prefix);

}  // namespace rv::platform
