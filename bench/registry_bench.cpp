// SPDX-License-Identifier: MIT
// Measures how long the hive parser takes on a generated 3 MB system.reg, the size of a fresh
// prefix's, and how long a whole game-folder look-up takes through the prefix registry (which
// reads and parses the hive at every key it opens). Target: well under 50 ms.
// Then the start-up on a machine whose launchers keep 20 such prefixes, the key in the last
// one's hive, at its end: every hive is read whole. Target: under 100 ms more than with none.
// Usage: registry_bench [path/to/system.reg]   (a real hive is measured as well when given)
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "edition/reg_value_get.h"
#include "platform/registry.h"
#include "wine/wine_hive.h"

namespace {

using Clock = std::chrono::steady_clock;

// A hive shaped like Wine's own: many keys with a time stamp, texts, expandable texts, numbers
// and long hex lists continued over lines.
std::string GenerateHive(std::size_t target_size, bool with_key = true) {
    std::string hive = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    hive += "#arch=win64\n\n";
    for (int key = 0; hive.size() < target_size; ++key) {
        hive += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(10000000 + key) +
                "-0000-0000-C000-000000000046}\\\\InprocServer32] 1700000000\n#time=1d9a0b\n";
        hive += "@=\"C:\\\\windows\\\\system32\\\\component" + std::to_string(key) + ".dll\"\n";
        hive += "\"ThreadingModel\"=\"Both\"\n\"Path\"=str(2):\"%SystemRoot%\\\\x\\x00e4\"\n";
        hive += "\"Flags\"=dword:" + std::to_string(key % 100000000) + "\n";
        if (key % 4 == 0) {
            hive += "\"Data\"=hex:";
            for (int byte = 0; byte < 96; ++byte) {
                hive += "4f,";
                if (byte % 25 == 24) {
                    hive += "\\\n  ";
                }
            }
            hive += "00\n";
        }
        hive += "\n";
    }
    hive += !with_key
                ? ""
                : "[Software\\\\Wow6432Node\\\\Zentor Technology\\\\Installed Apps\\\\RV2004] 1\n"
                  "\"Folder\"=\"C:\\\\Games\\\\RV2004\"\n";
    return hive;
}

double CpuMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Timing {
    double wall_ms;
    double cpu_ms;
};

// Medians of wall-clock and processor time; on a shared machine the processor time is the
// steadier figure.
template <typename Work>
Timing Median(int runs, Work work) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const double cpu_start = CpuMilliseconds();
        work();
        cpus.push_back(CpuMilliseconds() - cpu_start);
        walls.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

void MeasureParse(const char* label, const std::string& text) {
    std::size_t keys = 0;
    std::size_t skipped = 0;
    const Timing t = Median(15, [&] {
        const auto hive = rv::wine::WineHive::Parse(text);
        keys = hive ? hive->KeyCount() : 0;
        skipped = hive ? hive->SkippedLines() : 0;
    });
    std::printf("%-30s %5.2f MB %6zu keys (%zu lines skipped): parse %6.2f ms cpu, %6.2f ms wall\n",
                label, static_cast<double>(text.size()) / 1e6, keys, skipped, t.cpu_ms, t.wall_ms);
}

Timing MeasureLookUp() {
    const auto registry = rv::platform::OpenSystemRegistry();
    return Median(15, [&] {
        rv::RegValue value;
        rv::RegValueGet(*registry, rv::platform::kHKeyLocalMachine,
                        "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004", "Folder", value);
    });
}

// Twenty prefixes spread over the launchers' places, in a home of their own.
void MeasureManyPrefixes() {
    namespace fs = std::filesystem;
    const fs::path home = fs::temp_directory_path() / "rv-bench-home";
    fs::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("WINEPREFIX");
    ::unsetenv("XDG_DATA_HOME");
    const Timing none = MeasureLookUp();
    const std::string empty = GenerateHive(3 * 1000 * 1000, false);
    const char* places[] = {"Games/p", ".local/share/Steam/steamapps/compatdata/1/pfx",
                            ".local/share/bottles/bottles/p", ".PlayOnLinux/wineprefix/p"};
    for (int i = 0; i < 20; ++i) {
        const fs::path prefix = home / (places[i % 4] + std::to_string(i));
        fs::create_directories(prefix / "drive_c");
        std::ofstream(prefix / "system.reg", std::ios::binary)
            << (i == 19 ? GenerateHive(3 * 1000 * 1000) : empty);
    }
    const Timing many = MeasureLookUp();
    fs::remove_all(home);
    std::printf("%-30s %20s %6.2f ms cpu, %6.2f ms wall (%.2f ms wall with none)\n",
                "look-up in 20 prefixes", "", many.cpu_ms, many.wall_ms, none.wall_ms);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string hive = GenerateHive(3 * 1000 * 1000);
    MeasureParse("generated hive", hive);

    if (argc > 1) {
        std::ifstream file(argv[1], std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        MeasureParse(argv[1], text.str());
    }

    const auto prefix = std::filesystem::temp_directory_path() / "rv-bench-prefix";
    std::filesystem::create_directories(prefix / "drive_c");
    std::ofstream(prefix / "system.reg", std::ios::binary) << hive;
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    const auto registry = rv::platform::OpenSystemRegistry();
    std::int32_t result = -1;
    const Timing t = Median(15, [&] {
        rv::RegValue value;
        result =
            rv::RegValueGet(*registry, rv::platform::kHKeyLocalMachine,
                            "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004", "Folder", value);
    });
    std::filesystem::remove_all(prefix);
    std::printf("%-30s %20s %6.2f ms cpu, %6.2f ms wall (result %d)\n",
                "look-up: read, parse, find", "", t.cpu_ms, t.wall_ms, result);
    MeasureManyPrefixes();
    std::printf("(medians of 15 runs)\n");
    return result == 0 ? 0 : 1;
}
