// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdio>

#include "support/fake_prefix.h"
#include "support/test_registry.h"

namespace rv::test {

TestRegistry::TestRegistry() : folder_(std::make_unique<FakePrefix>()) {}
TestRegistry::~TestRegistry() = default;

std::string TestRegistry::Root() const {
    return folder_->Path("drive_c");
}

std::string TestRegistry::Shown(const std::string& folder) const {
    std::string shown = "C:" + folder.substr(Root().size());
    std::replace(shown.begin(), shown.end(), '/', '\\');
    return shown;
}

std::string TestRegistry::FoundIn() const {
    return "Wine prefix: " + folder_->Path();
}

void TestRegistry::Remove(const std::string& key) {
    keys_.erase({View::Bits32, key});
    keys_.erase({View::Bits64, key});
    Store(View::Bits32, key);
}

// A 64-bit prefix keeps the 32-bit view of HKLM\Software\X under Software\Wow6432Node\X.
void TestRegistry::Store(View, const std::string&) {
    std::string hive = "WINE REGISTRY Version 2\n#arch=win64\n";
    for (const auto& [place, values] : keys_) {
        std::string path = place.second;
        if (place.first == View::Bits32) {
            path.insert(path.find('\\') + 1, "Wow6432Node\\");
        }
        for (std::size_t at = 0; (at = path.find('\\', at)) != std::string::npos; at += 2) {
            path.insert(at, 1, '\\');
        }
        hive += "\n[" + path + "] 1\n";
        for (const auto& [name, value] : values) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "=hex(%x):", value.first);
            hive += (name.empty() ? "@" : '"' + name + '"') + hex;
            for (const char byte : value.second) {
                std::snprintf(hex, sizeof hex, "%02x,", static_cast<unsigned char>(byte));
                hive += hex;
            }
            if (hive.back() == ',') {
                hive.pop_back();
            }
            hive += '\n';
        }
    }
    folder_->AddFile("system.reg", hive);
}

}  // namespace rv::test
