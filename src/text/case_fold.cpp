// SPDX-License-Identifier: MIT
#include "text/case_fold.h"

#include <algorithm>

#include "text/text.h"

namespace rv::text {

char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) {
        return static_cast<char32_t>(FoldAsciiChar(static_cast<char>(c)));
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

std::string FoldUtf8(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (char c : text) {
            folded += FoldAsciiChar(c);
        }
        return folded;
    }
    for (std::size_t i = 0; i < text.size();) {
        const DecodedChar decoded = DecodeUtf8(text, i);
        if (decoded.valid) {
            AppendUtf8(folded, FoldCodePoint(decoded.code_point));
        } else {
            folded += text[i];
        }
        i += decoded.length;
    }
    return folded;
}

void CaseBlindChoice::Offer(std::string_view name) {
    if (chosen_ == wanted_ || FoldUtf8(name) != folded_) {
        return;
    }
    if (!chosen_ || name == wanted_ || name < *chosen_) {
        chosen_ = std::string(name);
    }
}

}  // namespace rv::text
