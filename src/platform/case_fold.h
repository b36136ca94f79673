#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Case folding for names that Windows, and Wine in its place, compare without regard to case:
// registry key and value names, and the parts of a drive-letter path.
namespace rv::platform {

inline char FoldAsciiChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The lower-case partner of an upper-case letter of the Latin, Greek and Cyrillic blocks, which
// covers the folder names of the game's users; other characters fold to themselves.
inline char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    if (((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) &&
        c % 2 == 0) {
        return c + 1;
    }
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 1) {
        return c + 1;
    }
    return c == 0x178 ? char32_t{0xFF} : c;
}

// Folds UTF-8 text; bytes that start no valid two- or three-byte sequence are kept as they are.
inline std::string FoldUtf8(std::string_view text) {
    std::string folded(text);
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        std::transform(folded.begin(), folded.end(), folded.begin(), FoldAsciiChar);
        return folded;
    }
    folded.clear();
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = (lead >= 0xC2 && lead <= 0xDF) ? 2
                                   : (lead & 0xF0) == 0xE0        ? 3
                                                                  : 1;
        bool valid = length > 1 && i + length <= text.size();
        char32_t c = length == 2 ? (lead & 0x1Fu) : (lead & 0x0Fu);
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (!valid || (length == 3 && c < 0x800)) {
            folded += FoldAsciiChar(text[i++]);
            continue;
        }
        c = FoldCodePoint(c);
        if (c < 0x800) {
            folded += static_cast<char>(0xC0 | (c >> 6));
        } else {
            folded += static_cast<char>(0xE0 | (c >> 12));
            folded += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        folded += static_cast<char>(0x80 | (c & 0x3F));
        i += length;
    }
    return folded;
}

}  // namespace rv::platform
