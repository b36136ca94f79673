// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace rv::test {

// A registry whose only key is RV2004's under HKEY_LOCAL_MACHINE, holding `values` by name.
// A call can be made to fail with a code: 'o' open, 'd' reading the data, 'c' close.
struct InMemoryRegistry : platform::RegistryBackend {
    static constexpr const char* kKey = "SOFTWARE\\Zentor Technology\\Installed Apps\\RV2004";
    std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>> values;
    std::map<char, std::int32_t> fails;
    std::uint32_t access = 0;  // of the last open
    int open_handles = 0;

    std::int32_t OpenKey(std::int32_t root, const std::string& sub_key, std::uint32_t asked,
                         platform::RegKeyHandle& handle) override {
        access = asked;
        if (fails['o'] != 0 || root != platform::kHKeyLocalMachine || sub_key != kKey) {
            return fails['o'] != 0 ? fails['o'] : platform::kRegNotFound;
        }
        handle = 42;
        ++open_handles;
        return platform::kRegSuccess;
    }

    std::int32_t QueryValue(platform::RegKeyHandle handle, const std::string& name,
                            std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) override {
        const auto found = values.find(name);
        if (handle != 42 || open_handles == 0) {
            return platform::kRegInvalidHandle;
        } else if (data != nullptr && fails['d'] != 0) {
            return fails['d'];
        } else if (found == values.end()) {
            return platform::kRegNotFound;
        }
        const auto& [stored_type, stored] = found->second;
        type = stored_type;
        if (data != nullptr && size < stored.size()) {
            return platform::kRegMoreData;
        } else if (data != nullptr) {
            std::copy(stored.begin(), stored.end(), data);
        }
        size = static_cast<std::uint32_t>(stored.size());
        return platform::kRegSuccess;
    }

    std::int32_t CloseKey(platform::RegKeyHandle handle) override {
        if (handle != 42 || open_handles == 0) {
            return platform::kRegInvalidHandle;
        }
        --open_handles;
        return fails['c'];
    }

    std::string FoundIn() const override { return "memory"; }
};

}  // namespace rv::test
