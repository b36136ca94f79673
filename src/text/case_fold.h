// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Case folding for names that Windows, and Wine in its place, compare without regard to case:
// registry key and value names, and file and folder names below a drive letter.
namespace rv::text {

constexpr char FoldAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The lower-case partner of an upper-case letter of the Latin, Greek and Cyrillic blocks, which
// covers the folder names of the game's users; other characters fold to themselves.
char32_t FoldCodePoint(char32_t c);

// Folds UTF-8 text; bytes that start no valid sequence are kept as they are.
std::string FoldUtf8(std::string_view text);

}  // namespace rv::text
