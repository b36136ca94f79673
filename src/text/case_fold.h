// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
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

// Chooses among a folder's entries, offered in any order, the one Wine opens for a wanted name:
// the name itself when it is there, else the first in byte order of the names that fold alike,
// so that the choice never depends on the listing's order.
class CaseBlindChoice {
public:
    explicit CaseBlindChoice(std::string_view wanted)
        : wanted_(wanted), folded_(FoldUtf8(wanted)) {}
    void Offer(std::string_view name);
    const std::optional<std::string>& Chosen() const { return chosen_; }

private:
    std::string wanted_;
    std::string folded_;
    std::optional<std::string> chosen_;
};

}  // namespace rv::text
