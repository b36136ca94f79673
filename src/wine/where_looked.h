// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wine/wine_hive.h"

// The words that tell a player where the game's key was looked for when no prefix holds it.
namespace rv::wine {

// A prefix searched, and what kept the key from being taken there.
struct PrefixLooked {
    std::string prefix;
    bool unreadable = false;           // its system.reg could not be read as a hive
    std::optional<HiveKey> key_64bit;  // the key where only 64-bit programs see it
};

// Names the key and every prefix searched; for a key found only in the 64-bit view, says so and
// gives the command that registers its values where the 32-bit game looks.
std::string WhereLookedText(const std::string& sub_key, const std::vector<PrefixLooked>& looked);

}  // namespace rv::wine
