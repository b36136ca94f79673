// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "support/temp_folder.h"

namespace rv::test {

// The registry the program reads, holding the values a test sets below HKEY_LOCAL_MACHINE, and a
// folder for the test's files. On Linux: a 64-bit Wine prefix made for the test, whose system.reg
// is written anew at each change, and its C: drive. On Windows: the real registry, whose keys set
// here are removed at the end, and a temporary folder.
class TestRegistry {
public:
    // The 32-bit view, where the game's 32-bit installer writes, or the 64-bit one.
    enum class View { Bits32, Bits64 };

    TestRegistry();
    ~TestRegistry();
    TestRegistry(const TestRegistry&) = delete;
    TestRegistry& operator=(const TestRegistry&) = delete;

    // Sets the value; the data of a text type (1, 2, 7) is UTF-8, stored as UTF-16 with the
    // NULs the data holds.
    void Set(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& data, View view = View::Bits32);
    // Removes the key from both views.
    void Remove(const std::string& key);
    // Registers exactly these editions ("RV2003", "RV2004"), each installed in its folder.
    void Register(const std::map<std::string, std::string>& editions);

    std::string Root() const;
    // The folder as the program finds it registered and shows it: "C:\Games\RV2004" in a prefix.
    std::string Shown(const std::string& folder) const;
    // Where the program says it found a key: the prefix on Linux, nothing on Windows.
    std::string FoundIn() const;

private:
    using Values = std::map<std::string, std::pair<std::uint32_t, std::string>>;
    void Store(View view, const std::string& key);  // writes the key's values to the registry

    std::map<std::pair<View, std::string>, Values> keys_;
    std::unique_ptr<TempFolder> folder_;
};

}  // namespace rv::test
