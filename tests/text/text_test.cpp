// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "text/case_fold.h"
#include "text/text.h"

namespace rv::text {
namespace {

TEST(Text, TrimsSpacesOnlyAndUpperCasesAsciiLettersOnly) {
    const std::vector<std::tuple<std::string_view, std::string_view, std::string>> cases = {
        {"", "", ""},
        {"   ", "", ""},
        {"  a b  ", "a b", "A B"},
        {"\tx\t", "\tx\t", "\tX\t"},
        {"az@[`{", "az@[`{", "AZ@[`{"},
        {"\xC3\xA9z", "\xC3\xA9z", "\xC3\xA9Z"},
    };
    for (const auto& [input, trimmed, upper] : cases) {
        EXPECT_EQ(TrimSpaces(input), trimmed) << input;
        EXPECT_EQ(UpperAscii(trimmed), upper) << input;
    }
    EXPECT_EQ(TrimTrailingSpaces("  a b \t  "), "  a b \t");
    EXPECT_EQ(TrimTrailingSpaces("   "), "");
}

TEST(Text, ListsNamesFoldedToUpperCaseThenBytewise) {
    // Each name comes strictly before the next.
    const std::vector<std::string_view> order = {
        "", "A", "a", "a b", "ab", "Abc", "abc", "a_", "b", "Z", "z", "_", "\x7F", "\xC3\xA9",
    };
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = 0; j < order.size(); ++j) {
            EXPECT_EQ(ListedBefore(order[i], order[j]), i < j) << order[i] << " / " << order[j];
        }
    }
}

TEST(Text, DecodesUtf8AtItsEdgesAndEncodesItBack) {
    // The bytes, and the code point, length and validity of the character they start with.
    const std::vector<std::tuple<std::string_view, char32_t, std::size_t, bool>> cases = {
        {"\x7F", 0x7F, 1, true},
        {"\xC2\x80", 0x80, 2, true},
        {"\xDF\xBF", 0x7FF, 2, true},
        {"\xE0\xA0\x80", 0x800, 3, true},
        {"\xED\x9F\xBF", 0xD7FF, 3, true},
        {"\xEF\xBF\xBF", 0xFFFF, 3, true},
        {"\xF0\x90\x80\x80", 0x10000, 4, true},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true},
        {"\x80", 0x80, 1, false},              // a continuation byte alone
        {"\xC1\xBF", 0xC1, 1, false},          // overlong two bytes
        {"\xE0\x9F\xBF", 0xE0, 1, false},      // overlong three bytes
        {"\xED\xA0\x80", 0xED, 1, false},      // an encoded surrogate
        {"\xF0\x8F\xBF\xBF", 0xF0, 1, false},  // overlong four bytes
        {"\xF4\x90\x80\x80", 0xF4, 1, false},  // above U+10FFFF
        {"\xF5\x80\x80\x80", 0xF5, 1, false},  // no such lead byte
        {"\xE2\x82", 0xE2, 1, false},          // cut short
        {"\xC3(", 0xC3, 1, false},             // not followed by a continuation
    };
    for (const auto& [bytes, code_point, length, valid] : cases) {
        const DecodedChar decoded = DecodeUtf8(bytes, 0);
        EXPECT_EQ(std::tuple(decoded.code_point, decoded.length, decoded.valid),
                  std::tuple(code_point, length, valid))
            << bytes;
        std::string encoded;  // gives the bytes back exactly when they were valid
        AppendUtf8(encoded, code_point);
        EXPECT_EQ(encoded == bytes, valid) << bytes;
    }
}

TEST(Text, ShowsCharactersThatBreakOrHideALineEscaped) {
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"plain \xC3\xA4 \xE2\x80\xA7 \x7E.u", "plain \xC3\xA4 \xE2\x80\xA7 \x7E.u"},
        {std::string_view("a\0\n\r\t\x1F\x7F", 7),
         "a<U+0000><U+000A><U+000D><U+0009><U+001F><U+007F>"},
        {"\xC2\x80\xC2\x85\xC2\x9F\xC2\xA0", "<U+0080><U+0085><U+009F>\xC2\xA0"},
        {"\xE2\x80\xA8\xE2\x80\xA9", "<U+2028><U+2029>"},
        {"\x85\xFF\n", "\x85\xFF<U+000A>"},  // bytes that are not UTF-8 stay
    };
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(ShownName(name), shown);
    }
}

TEST(Text, FoldsEveryUpperCaseLetterOfEachBlockAndNothingBeyond) {
    // {first, last, what first folds to, step}: every letter of the range folds by the same
    // distance, stepping by 2 where upper- and lower-case letters alternate.
    const std::vector<std::tuple<char32_t, char32_t, char32_t, char32_t>> ranges = {
        {U'A', U'Z', U'a', 1},    {0xC0, 0xD6, 0xE0, 1},    {0xD8, 0xDE, 0xF8, 1},
        {0x100, 0x12E, 0x101, 2}, {0x132, 0x136, 0x133, 2}, {0x139, 0x147, 0x13A, 2},
        {0x14A, 0x176, 0x14B, 2}, {0x179, 0x17D, 0x17A, 2}, {0x391, 0x3A1, 0x3B1, 1},
        {0x3A3, 0x3AB, 0x3C3, 1}, {0x400, 0x40F, 0x450, 1}, {0x410, 0x42F, 0x430, 1},
    };
    for (const auto& [first, last, folded_first, step] : ranges) {
        for (char32_t c = first; c <= last; c += step) {
            EXPECT_EQ(FoldCodePoint(c), folded_first + (c - first))
                << std::hex << static_cast<unsigned>(c);
        }
    }
    for (char32_t unchanged :
         {U'@', U'[', U'a', char32_t{0xD7}, char32_t{0xDF}, char32_t{0xE0}, char32_t{0x3A2},
          char32_t{0x3B1}, char32_t{0x430}, char32_t{0x44F}, char32_t{0x450}, char32_t{0x460}}) {
        EXPECT_EQ(FoldCodePoint(unchanged), unchanged)
            << std::hex << static_cast<unsigned>(unchanged);
    }
    EXPECT_EQ(FoldCodePoint(0x178), char32_t{0xFF});
    // Text: valid sequences fold, stray bytes and letters beyond the blocks stay.
    EXPECT_EQ(FoldUtf8("MAPS\xC3\x89\xD0\xAF\xD0\x81\xF0\x9F\x98\x80\xFF\xC3"),
              "maps\xC3\xA9\xD1\x8F\xD1\x91\xF0\x9F\x98\x80\xFF\xC3");
}

}  // namespace
}  // namespace rv::text
