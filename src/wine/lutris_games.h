// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>

// What the Linux game launcher that keeps its games in a database records of them. Linux only.
namespace rv::wine {

// The folder each game of the launcher's game database (pga.db) is installed in, by the name of
// the game's settings file without its .yml ending. None when the file is missing, not a regular
// file or not such a database.
std::map<std::string, std::string> LutrisGameFolders(const std::string& database);

}  // namespace rv::wine
