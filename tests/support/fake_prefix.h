#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace rv::test {

// A Wine prefix laid out as Wine lays one out (drive_c, and dosdevices/c: linking to it), made
// the current one through WINEPREFIX for as long as it lives.
class FakePrefix : public TempFolder {
public:
    FakePrefix() {
        AddFolder("drive_c");
        AddFolder("dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", Path("dosdevices/c:"));
        if (const char* old = ::getenv("WINEPREFIX")) {
            old_prefix_ = old;
        }
        ::setenv("WINEPREFIX", Path().c_str(), 1);
    }
    ~FakePrefix() {
        if (old_prefix_) {
            ::setenv("WINEPREFIX", old_prefix_->c_str(), 1);
        } else {
            ::unsetenv("WINEPREFIX");
        }
    }
    FakePrefix(const FakePrefix&) = delete;
    FakePrefix& operator=(const FakePrefix&) = delete;

private:
    std::optional<std::string> old_prefix_;
};

}  // namespace rv::test
