// SPDX-License-Identifier: MIT
#include "edition/reg_value_get.h"

#include <algorithm>
#include <vector>

namespace rv {

std::int32_t RegValueGet(platform::RegistryBackend& registry, const std::int32_t& Root,
                         const std::string& Key, const std::string& Field, RegValue& Value) {
    platform::RegKeyHandle handle = 0;
    const std::int32_t opened = registry.OpenKey(Root, Key, kRegValueGetAccess, handle);
    if (opened != platform::kRegSuccess) {
        return opened;
    }

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::int32_t queried = registry.QueryValue(handle, Field, type, nullptr, size);
    if (queried == platform::kRegSuccess) {
        if (type == platform::kRegSz) {
            // One character more than the data, all spaces: the registry fills all but the last.
            std::string buffer(std::size_t{size} + 1, ' ');
            std::uint32_t count = size;
            queried = registry.QueryValue(handle, Field, type,
                                          reinterpret_cast<std::uint8_t*>(buffer.data()), count);
            if (queried == platform::kRegSuccess) {
                Value = std::move(buffer);
            }
        } else if (type == platform::kRegDword) {
            // The stored size is passed on as it is; a buffer of at least four bytes keeps an
            // odd-sized number value from writing past it.
            std::vector<std::uint8_t> buffer(std::max<std::size_t>(size, 4), 0);
            std::uint32_t count = size;
            queried = registry.QueryValue(handle, Field, type, buffer.data(), count);
            if (queried == platform::kRegSuccess) {
                std::uint32_t bits = 0;
                for (int i = 3; i >= 0; --i) {
                    bits = (bits << 8) | buffer[static_cast<std::size_t>(i)];
                }
                Value = static_cast<std::int32_t>(bits);
            }
        }
    }

    const std::int32_t closed = registry.CloseKey(handle);
    return queried != platform::kRegSuccess ? queried : closed;
}

}  // namespace rv
