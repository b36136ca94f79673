// SPDX-License-Identifier: MIT
#include "receipts/stored_name.h"

#include <stdexcept>

namespace rv {
namespace {

constexpr std::string_view kDigits = "0123456789abcdef";

// The length of the UTF-8 sequence the byte starts, or 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char byte) {
    if (byte < 0x80) {
        return 1;
    }
    if (byte >= 0xc2 && byte <= 0xdf) {
        return 2;
    }
    if (byte >= 0xe0 && byte <= 0xef) {
        return 3;
    }
    return byte >= 0xf0 && byte <= 0xf4 ? 4 : 0;
}

}  // namespace

// Strict enough for the JSON writer: no overlong forms, surrogates or code points past U+10FFFF.
bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        char32_t code = static_cast<char32_t>(length == 1 ? lead : lead & (0x7fu >> length));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) {
                return false;
            }
            code = (code << 6) | static_cast<char32_t>(next & 0x3fu);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string HexOf(std::string_view name) {
    std::string hex;
    hex.reserve(2 * name.size());
    for (const char c : name) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0xf];
    }
    return hex;
}

namespace {

int DigitValue(char digit) {
    const std::size_t at = kDigits.find(digit);
    if (at == std::string_view::npos) {
        throw std::invalid_argument("a name's bytes are not hex");
    }
    return static_cast<int>(at);
}

}  // namespace

void PutName(nlohmann::json& json, const std::string& key, const std::string& name) {
    if (ValidUtf8(name)) {
        json[key] = name;
        return;
    }
    json[key + "_bytes"] = HexOf(name);
}

std::string NameFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        throw std::invalid_argument("a name's bytes are not whole");
    }
    std::string name;
    name.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        name += static_cast<char>(DigitValue(hex[i]) * 16 + DigitValue(hex[i + 1]));
    }
    return name;
}

std::string TakeName(const nlohmann::json& json, const std::string& key) {
    if (const auto text = json.find(key); text != json.end() || !json.contains(key + "_bytes")) {
        return json.at(key).get<std::string>();
    }
    return NameFromHex(json.at(key + "_bytes").get<std::string>());
}

}  // namespace rv
