// SPDX-License-Identifier: MIT
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace rv::test {

// A Wine prefix laid out as Wine lays one out (drive_c, and dosdevices/c: linking to it), made
// the current one through WINEPREFIX for as long as it lives. HOME is its empty folder "home"
// (and the XDG base folders unset), so no launcher's prefix of the machine is found.
class FakePrefix : public TempFolder {
public:
    FakePrefix() {
        LayOut("");
        for (const char* name : {"WINEPREFIX", "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            const char* old = ::getenv(name);
            old_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        }
        ::setenv("WINEPREFIX", Path().c_str(), 1);
        ::setenv("HOME", Path("home").c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ~FakePrefix() {
        for (const auto& [name, value] : old_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }
    FakePrefix(const FakePrefix&) = delete;
    FakePrefix& operator=(const FakePrefix&) = delete;

    // Lays out drive_c and dosdevices/c: in the folder ("" for this one, else ending in '/').
    void LayOut(const std::string& folder) const {
        AddFolder(folder + "drive_c");
        AddFolder(folder + "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", Path(folder + "dosdevices/c:"));
    }

private:
    std::map<std::string, std::optional<std::string>> old_;
};

}  // namespace rv::test
