#include "support/in_memory_registry.h"

#include <cstdio>
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

void InMemoryRegistry::SetNumber(const std::string& key, const std::string& name,
                                 std::uint32_t number) {
    std::vector<std::uint8_t> data;
    for (int shift = 0; shift < 32; shift += 8) {
        data.push_back(static_cast<std::uint8_t>((number >> shift) & 0xFF));
    }
    SetRaw(key, name, platform::kRegDword, std::move(data));
}

void InMemoryRegistry::SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
                              std::vector<std::uint8_t> data) {
    keys[key][name] = {type, std::move(data)};
}

std::int32_t InMemoryRegistry::OpenKey(std::int32_t root, const std::string& sub_key,
                                       std::uint32_t access, platform::RegKeyHandle& handle) {
    char root_text[16];
    char access_text[16];
    std::snprintf(root_text, sizeof root_text, "0x%08x", static_cast<unsigned>(root));
    std::snprintf(access_text, sizeof access_text, "0x%x", access);
    log.push_back("open " + std::string(root_text) + " " + sub_key + " " + access_text);
    if (open_fails_with != platform::kRegSuccess) {
        return open_fails_with;
    }
    if (root != platform::kHKeyLocalMachine || keys.count(sub_key) == 0) {
        return platform::kRegNotFound;
    }
    handle = next_handle_++;
    handle_keys_[handle] = sub_key;
    open_handles.insert(handle);
    return platform::kRegSuccess;
}

std::int32_t InMemoryRegistry::QueryValue(platform::RegKeyHandle handle, const std::string& name,
                                          std::uint32_t& type, std::uint8_t* data,
                                          std::uint32_t& size) {
    log.push_back("query " + name + (data == nullptr ? " size" : " data " + std::to_string(size)));
    if (open_handles.count(handle) == 0) {
        return platform::kRegInvalidHandle;
    }
    if (data != nullptr && data_query_fails_with != platform::kRegSuccess) {
        return data_query_fails_with;
    }
    const auto& values = keys[handle_keys_[handle]];
    const auto found = values.find(name);
    if (found == values.end()) {
        return platform::kRegNotFound;
    }
    const StoredValue& value = found->second;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    type = value.type;
    if (data == nullptr) {
        size = needed;
        return platform::kRegSuccess;
    }
    if (size < needed) {
        size = needed;
        return platform::kRegMoreData;
    }
    if (needed > 0) {
        std::memcpy(data, value.data.data(), needed);
    }
    size = needed;
    return platform::kRegSuccess;
}

std::int32_t InMemoryRegistry::CloseKey(platform::RegKeyHandle handle) {
    log.push_back("close");
    if (open_handles.erase(handle) == 0) {
        return platform::kRegInvalidHandle;
    }
    return close_fails_with;
}

}  // namespace rv::test
