// SPDX-License-Identifier: MIT
// Writes arbitrary bytes as every settings file the prefix search reads (a game's YAML, the
// bottles' data and placeholder, a game's JSON, the library list and the game database) in a
// home of its own, then searches: it must never crash or hang, and every prefix it gives is an
// absolute path to a real prefix.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/wine_prefix_linux.h"
#include "wine/launcher_prefixes.h"

namespace fs = std::filesystem;

namespace {

// A home of the process's own, removed at exit; never destroyed, so the removal can name it.
const fs::path& Home() {
    static const fs::path* const home = [] {
        fs::path folder = fs::temp_directory_path() / ("rv-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(folder / "p/drive_c");
        std::ofstream(folder / "p/system.reg") << "WINE REGISTRY Version 2\n";
        ::setenv("HOME", folder.c_str(), 1);
        ::unsetenv("WINEPREFIX");
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(Home(), ignored);
        });
        return new fs::path(folder);
    }();
    return *home;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& home = Home();
    for (const char* file :
         {".config/lutris/games/g.yml", ".local/share/lutris/pga.db",
          ".local/share/bottles/data.yml", ".local/share/bottles/bottles/b/placeholder.yml",
          ".config/heroic/GamesConfig/g.json", ".local/share/Steam/config/libraryfolders.vdf"}) {
        fs::create_directories((home / file).parent_path());
        std::ofstream(home / file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    for (const std::string& prefix : rv::wine::WinePrefixes()) {
        if (!prefix.starts_with('/') || !rv::platform::IsWinePrefix(prefix)) {
            std::abort();
        }
    }
    return 0;
}
