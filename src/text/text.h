// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Plain text helpers for names and paths held as UTF-8 (or, on Linux, as raw bytes).
namespace rv::text {

// The text without the space characters at both its ends; other blanks are kept.
std::string_view TrimSpaces(std::string_view text);
// The text without the space characters at its end.
std::string_view TrimTrailingSpaces(std::string_view text);

// Only the letters a-z change; every other byte, those of multi-byte characters included, is kept.
constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string UpperAscii(std::string_view text);

// The order a folder's entries are taken in: compared folded to upper case, as Windows file
// systems order names, so "apple" and "Apple" sort together; names equal but for case are then
// ordered bytewise, so the order is total and the same on every run and every platform.
bool ListedBefore(std::string_view a, std::string_view b);

// One decoded UTF-8 sequence. A byte that starts no valid sequence (a stray continuation byte, a
// truncated or overlong sequence, an encoded surrogate, a value above U+10FFFF) decodes as
// itself with length 1 and valid false.
struct DecodedChar {
    char32_t code_point = 0;
    std::size_t length = 1;
    bool valid = false;
};
DecodedChar DecodeUtf8(std::string_view text, std::size_t at);

// Appends the code point's UTF-8 form, one to four bytes.
void AppendUtf8(std::string& out, char32_t code_point);

// The name as it is shown to the user: each character that would break or hide part of a line
// (the control characters, C0, DEL and C1, and the line and paragraph separators) is written as
// <U+XXXX>, so that a name always shows on its one line and as what it holds. Bytes that are not
// UTF-8 are kept as they are.
std::string ShownName(std::string_view name);

}  // namespace rv::text
