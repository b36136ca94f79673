// SPDX-License-Identifier: MIT
#include "text/text.h"

#include <algorithm>
#include <cstdio>

namespace rv::text {

std::string_view TrimTrailingSpaces(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimSpaces(std::string_view text) {
    text = TrimTrailingSpaces(text);
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = UpperAscii(c);
    }
    return upper;
}

bool ListedBefore(std::string_view a, std::string_view b) {
    const auto less_folded = [](char x, char y) {
        return static_cast<unsigned char>(UpperAscii(x)) <
               static_cast<unsigned char>(UpperAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less_folded)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less_folded)) {
        return false;
    }
    return a < b;  // string_view compares bytes as unsigned
}

DecodedChar DecodeUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const DecodedChar as_byte{lead, 1, lead < 0x80};
    std::size_t length = 0;
    char32_t code_point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code_point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code_point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code_point = lead & 0x07u;
    } else {
        return as_byte;
    }
    if (at + length > text.size()) {
        return as_byte;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            return as_byte;
        }
        code_point = (code_point << 6) | (next & 0x3Fu);
    }
    const char32_t minimum = length == 3 ? 0x800 : (length == 4 ? 0x10000 : 0);
    if (code_point < minimum || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
        return as_byte;
    }
    return {code_point, length, true};
}

void AppendUtf8(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
        return;
    }
    if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code_point & 0x3F));
}

namespace {

bool BreaksOrHidesALine(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

}  // namespace

std::string ShownName(std::string_view name) {
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const DecodedChar c = DecodeUtf8(name, at);
        if (c.valid && BreaksOrHidesALine(c.code_point)) {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "<U+%04X>", static_cast<unsigned>(c.code_point));
            shown += escaped;
        } else {
            shown.append(name, at, c.length);
        }
        at += c.length;
    }
    return shown;
}

}  // namespace rv::text
