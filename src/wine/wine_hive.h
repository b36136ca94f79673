// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Reader of the text hives (system.reg) in which Wine keeps a prefix's registry.
namespace rv::wine {

// One value as the registry holds it: its type number and its data bytes. Texts (types 1, 2
// and 7) are held as the registry holds them, UTF-16LE, with their NUL only when stored with one.
struct HiveValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct HiveKey {
    // By value name folded to lower case; the default value ("@") has the empty name.
    std::unordered_map<std::string, HiveValue> values;
};

enum class HiveArch { Unknown, Win32, Win64 };

class WineHive {
public:
    // Parses a whole hive file. Empty when the text does not start with Wine's header line.
    // Lines that cannot be understood are skipped, as Wine itself skips them.
    static std::optional<WineHive> Parse(std::string_view text);
    // Parses only as much as one key needs: the header, the section of the key that a 32-bit
    // program sees at path (ThirtyTwoBitView), and the names of its sub-keys; stops at the
    // section after it. A hive without an #arch line is taken as arch_if_unmarked.
    static std::optional<WineHive> ParseForKey(std::string_view text, std::string_view path,
                                               HiveArch arch_if_unmarked);

    HiveArch Arch() const { return arch_; }

    // The key at a backslash-separated path (parts matched without regard to ASCII case, empty
    // parts ignored), or null when the hive has no section of that name.
    const HiveKey* FindKey(std::string_view path) const;
    // True when the key has a section of its own or is the parent of one: Wine writes no
    // section for a key that holds only sub-keys.
    bool KeyExists(std::string_view path) const;

    // Every key with a section of its own, by its canonical path.
    const std::unordered_map<std::string, HiveKey>& Keys() const { return keys_; }
    std::size_t KeyCount() const { return keys_.size(); }
    std::size_t SkippedLines() const { return skipped_lines_; }

    static const HiveValue* FindValue(const HiveKey& key, std::string_view name);

    // Where a 32-bit program finds HKLM\path: in a 64-bit hive, Software\X lives under
    // Software\Wow6432Node\X. Returned in canonical form.
    static std::string ThirtyTwoBitView(std::string_view path, HiveArch arch);

    // The canonical form of a key path: parts folded to lower case, joined by one backslash.
    static std::string NormalizeKeyPath(std::string_view path);

private:
    HiveArch arch_ = HiveArch::Unknown;
    std::unordered_map<std::string, HiveKey> keys_;
    std::size_t skipped_lines_ = 0;

    friend class HiveParser;
};

// Converts UTF-16LE bytes to UTF-8. An odd last byte is dropped; a lone surrogate becomes U+FFFD.
// NUL units are kept as NUL bytes.
std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size);

}  // namespace rv::wine
