// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// Names kept in a receipt exactly as the system gave them: a name that is valid UTF-8 as a JSON
// text under its key, any other as its bytes in hex under the key with "_bytes" added.
namespace rv {

void PutName(nlohmann::json& json, const std::string& key, const std::string& name);

// Whether the name can be stored as text: valid UTF-8, strictly.
bool ValidUtf8(std::string_view text);
// The name's bytes as hex digits, as stored under the key with "_bytes".
std::string HexOf(std::string_view name);

// The name a "_bytes" key's hex digits hold; throws when they are not whole hex.
std::string NameFromHex(std::string_view hex);

// The name under the key; throws when it is neither there nor readable.
std::string TakeName(const nlohmann::json& json, const std::string& key);

}  // namespace rv
