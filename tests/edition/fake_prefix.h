#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace rv::test {

// A Wine prefix in a fresh temporary folder, selected through WINEPREFIX for as long as it
// lives: drive_c with the dosdevices/c: link to it, as Wine lays a prefix out.
class FakePrefix {
public:
    FakePrefix() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rv-prefix-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "drive_c");
        std::filesystem::create_directories(root_ / "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
        if (const char* old = ::getenv("WINEPREFIX")) {
            old_prefix_ = old;
        }
        ::setenv("WINEPREFIX", root_.c_str(), 1);
    }
    ~FakePrefix() {
        if (old_prefix_) {
            ::setenv("WINEPREFIX", old_prefix_->c_str(), 1);
        } else {
            ::unsetenv("WINEPREFIX");
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakePrefix(const FakePrefix&) = delete;
    FakePrefix& operator=(const FakePrefix&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path DriveC() const { return root_ / "drive_c"; }

    void WriteSystemReg(const std::string& text) const { Write(root_ / "system.reg", text); }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

private:
    std::filesystem::path root_;
    std::optional<std::string> old_prefix_;
};

}  // namespace rv::test
