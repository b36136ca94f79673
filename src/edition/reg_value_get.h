// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/registry.h"

namespace rv {

// What RegValueGet hands back: nothing, a text or a 32-bit signed number.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

// Opening a key to read its values: KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY.
inline constexpr std::uint32_t kRegValueGetAccess = 0x19;

// Reads the value Field of the key Key below Root. Returns the registry's result code: that of
// the first call that failed, else that of closing the key; 0 on success. Value is written only
// when a text (type 1) or a number (type 4) was read, and is left as passed otherwise.
//
// A text comes back as its whole read buffer: the stored bytes followed by one space, so a text
// stored with its NUL ends in NUL and a space. Callers rely on that shape and clean it themselves.
std::int32_t RegValueGet(platform::RegistryBackend& registry, const std::int32_t& Root,
                         const std::string& Key, const std::string& Field, RegValue& Value);

}  // namespace rv
