#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace rv::test {

// A registry held in memory, for driving the value reader and the edition switch without a
// system registry. Key paths and value names are matched exactly. Every call is appended to
// `log` as one line, such as
//   open 0x80000002 SOFTWARE\Zentor Technology\Installed Apps\RV2004 0x19
//   query Folder size        (no buffer)      query Folder data 11      close
class InMemoryRegistry : public platform::RegistryBackend {
public:
    // A text is stored as its UTF-8 bytes, followed by a NUL when with_nul.
    void SetText(const std::string& key, const std::string& name, const std::string& text,
                 bool with_nul = true);
    void SetNumber(const std::string& key, const std::string& name, std::uint32_t number);
    void SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
    void AddKey(const std::string& key) { keys[key]; }

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

    // Codes to fail with instead of doing the call: the open, the query with a buffer, the close.
    std::int32_t open_fails_with = platform::kRegSuccess;
    std::int32_t data_query_fails_with = platform::kRegSuccess;
    std::int32_t close_fails_with = platform::kRegSuccess;

    std::vector<std::string> log;
    std::set<platform::RegKeyHandle> open_handles;

private:
    std::map<platform::RegKeyHandle, std::string> handle_keys_;
    platform::RegKeyHandle next_handle_ = 100;
};

}  // namespace rv::test
