// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// A read-only view of the registry, shaped like the registry's own calls so that the value
// reader keeps their result codes. Key paths use backslashes; texts are UTF-8.
namespace rv::platform {

inline constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);

inline constexpr std::int32_t kRegSuccess = 0;
inline constexpr std::int32_t kRegNotFound = 2;
inline constexpr std::int32_t kRegAccessDenied = 5;
inline constexpr std::int32_t kRegInvalidHandle = 6;
inline constexpr std::int32_t kRegMoreData = 234;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

using RegKeyHandle = std::uintptr_t;

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    virtual std::int32_t OpenKey(std::int32_t root, const std::string& sub_key,
                                 std::uint32_t access, RegKeyHandle& handle) = 0;
    // With data null: reports the value's type and the byte count its data needs. With data:
    // writes at most size bytes, reports the type again and the byte count written; when the
    // data needs more than size bytes, returns kRegMoreData with the count needed. Texts (types
    // 1, 2 and 7) are UTF-8 and their byte count is that of the UTF-8 data, including the NUL
    // when the text is stored with one; other types are the stored bytes as they are.
    virtual std::int32_t QueryValue(RegKeyHandle handle, const std::string& name,
                                    std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& size) = 0;
    virtual std::int32_t CloseKey(RegKeyHandle handle) = 0;

    // Where the key opened last was found, in words for the user; empty where the machine has
    // only one registry.
    virtual std::string FoundIn() const { return {}; }
    // Where a key that was not found was looked for, and why it was not taken, in words for the
    // user; empty where the machine has only one registry.
    virtual std::string WhereLooked() const { return {}; }
};

// Answers a value query from the value's type and data as the backend hands them out: with data
// null, the type and the byte count needed; with too small a buffer, kRegMoreData and the byte
// count needed; else the data copied, with the type and the byte count written.
std::int32_t HandOutValue(std::uint32_t stored_type, std::span<const std::uint8_t> bytes,
                          std::uint32_t& type, std::uint8_t* data, std::uint32_t& size);

// The machine's registry: on Windows the system's, on Linux that of the Wine prefix.
std::unique_ptr<RegistryBackend> OpenSystemRegistry();

}  // namespace rv::platform
