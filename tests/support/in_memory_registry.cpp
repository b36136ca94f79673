#include "support/in_memory_registry.h"

#include <cstring>

namespace rv::test {

void InMemoryRegistry::SetText(const std::string& key, const std::string& name,
                               const std::string& text, bool with_nul) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    if (with_nul) {
        data.push_back(0);
    }
    SetRaw(key, name, platform::kRegSz, std::move(data));
}

std::int32_t InMemoryRegistry::OpenKey(std::int32_t root, const std::string& sub_key,
                                       std::uint32_t access, platform::RegKeyHandle& handle) {
    calls += 'o';
    opened_root = root;
    opened_key = sub_key;
    opened_access = access;
    if (open_fails_with != 0) {
        return open_fails_with;
    }
    if (root != platform::kHKeyLocalMachine || keys.count(sub_key) == 0) {
        return platform::kRegNotFound;
    }
    open_key_ = sub_key;
    handle = 42;
    ++open_handles;
    return platform::kRegSuccess;
}

std::int32_t InMemoryRegistry::QueryValue(platform::RegKeyHandle handle, const std::string& name,
                                          std::uint32_t& type, std::uint8_t* data,
                                          std::uint32_t& size) {
    calls += data == nullptr ? 's' : 'd';
    if (handle != 42 || open_handles == 0) {
        return platform::kRegInvalidHandle;
    }
    if (data != nullptr) {
        data_sizes.push_back(size);
        if (data_query_fails_with != 0) {
            return data_query_fails_with;
        }
    }
    const auto& values = keys[open_key_];
    const auto found = values.find(name);
    if (found == values.end()) {
        return platform::kRegNotFound;
    }
    const auto needed = static_cast<std::uint32_t>(found->second.data.size());
    type = found->second.type;
    if (data != nullptr && size < needed) {
        return platform::kRegMoreData;
    }
    if (data != nullptr && needed > 0) {
        std::memcpy(data, found->second.data.data(), needed);
    }
    size = needed;
    return platform::kRegSuccess;
}

std::int32_t InMemoryRegistry::CloseKey(platform::RegKeyHandle handle) {
    calls += 'c';
    if (handle != 42 || open_handles == 0) {
        return platform::kRegInvalidHandle;
    }
    --open_handles;
    return close_fails_with;
}

}  // namespace rv::test
