// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the hive parser: it must never crash, hang or read out of bounds,
// and must take the input as a hive exactly when it starts with Wine's header line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wine/wine_hive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto hive = rv::wine::WineHive::Parse(text);

    std::string_view first = text.substr(0, text.find('\n'));
    if (!first.empty() && first.back() == '\r') {
        first.remove_suffix(1);
    }
    if (hive.has_value() != (first == "WINE REGISTRY Version 2")) {
        std::abort();
    }
    if (!hive) {
        return 0;
    }
    // Decode every value as a text would be, and look keys up by pieces of the input itself.
    for (const auto& [path, key] : hive->Keys()) {
        for (const auto& [name, value] : key.values) {
            (void)rv::wine::Utf16LeToUtf8(value.data.data(), value.data.size());
        }
    }
    const std::string_view probe = text.substr(text.size() / 2, 64);
    (void)hive->KeyExists(probe);
    // The reading of one key alone, with the probe as the key.
    if (const auto one = rv::wine::WineHive::ParseForKey(text, probe, rv::wine::HiveArch::Win64)) {
        (void)one->KeyExists(rv::wine::WineHive::ThirtyTwoBitView(probe, one->Arch()));
    }
    if (const auto* key = hive->FindKey(probe)) {
        (void)rv::wine::WineHive::FindValue(*key, probe.substr(0, 8));
    }
    return 0;
}
