// SPDX-License-Identifier: MIT
#include "platform/registry.h"

#include <cstring>

namespace rv::platform {

std::int32_t HandOutValue(std::uint32_t stored_type, std::span<const std::uint8_t> bytes,
                          std::uint32_t& type, std::uint8_t* data, std::uint32_t& size) {
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    type = stored_type;
    if (data == nullptr) {
        size = needed;
        return kRegSuccess;
    }
    if (size < needed) {
        size = needed;
        return kRegMoreData;
    }
    if (needed > 0) {
        std::memcpy(data, bytes.data(), needed);
    }
    size = needed;
    return kRegSuccess;
}

}  // namespace rv::platform
