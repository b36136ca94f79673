#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace rv::test {

// A registry held in memory, for driving the value reader and the edition switch without a
// system registry. Key paths and value names are matched exactly. Each call is appended to
// `calls` as one letter: o open, s query for the size, d query into a buffer, c close.
class InMemoryRegistry : public platform::RegistryBackend {
public:
    // A text is stored as its UTF-8 bytes, followed by a NUL when with_nul.
    void SetText(const std::string& key, const std::string& name, const std::string& text,
                 bool with_nul = true);
    void SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data) {
        keys[key][name] = {type, std::move(data)};
    }

    std::int32_t OpenKey(std::int32_t root, const std::string& sub_key, std::uint32_t access,
                         platform::RegKeyHandle& handle) override;
    std::int32_t QueryValue(platform::RegKeyHandle handle, const std::string& name,
                            std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) override;
    std::int32_t CloseKey(platform::RegKeyHandle handle) override;

    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    std::map<std::string, std::map<std::string, StoredValue>> keys;

    // Codes to fail with instead of doing the call: the open, the query into a buffer, the close.
    std::int32_t open_fails_with = 0;
    std::int32_t data_query_fails_with = 0;
    std::int32_t close_fails_with = 0;

    std::string calls;
    // What the last open asked for, and the byte counts passed to the queries into a buffer.
    std::int32_t opened_root = 0;
    std::string opened_key;
    std::uint32_t opened_access = 0;
    std::vector<std::uint32_t> data_sizes;
    int open_handles = 0;

private:
    std::string open_key_;
};

}  // namespace rv::test
