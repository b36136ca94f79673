// SPDX-License-Identifier: MIT
#include "wine/library_folders_vdf.h"

#include <strings.h>

#include <algorithm>
#include <cctype>

// The text key-value format: quoted or bare words, braces around a block, // comments.
namespace rv::wine {

namespace {

struct Token {
    char kind = 0;  // '{', '}', or 'w' for a word
    std::string text;
};

class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    // False at the end of the text, and at a quoted word that never ends (Broken).
    bool Next(Token& token) {
        SkipBlanksAndComments();
        if (at_ >= text_.size()) {
            return false;
        }
        token.text.clear();
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            token.kind = c;
            ++at_;
            return true;
        }
        token.kind = 'w';
        if (c != '"') {
            while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '{' &&
                   text_[at_] != '}' && text_[at_] != '"') {
                token.text += text_[at_++];
            }
            return true;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            char d = text_[at_];
            if (d == '"') {
                ++at_;
                return true;
            }
            if (d == '\\' && at_ + 1 < text_.size()) {
                d = text_[++at_];
                d = d == 'n' ? '\n' : d == 't' ? '\t' : d;
            }
            token.text += d;
        }
        broken_ = true;
        return false;
    }

    bool Broken() const { return broken_; }

private:
    static bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

    void SkipBlanksAndComments() {
        while (at_ < text_.size()) {
            if (IsSpace(text_[at_])) {
                ++at_;
            } else if (text_.substr(at_, 2) == "//") {
                at_ = std::min(text_.find('\n', at_), text_.size());
            } else {
                return;
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    bool broken_ = false;
};

bool IsNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

std::vector<std::string> LibraryFolders(std::string_view vdf) {
    Tokens tokens(vdf);
    std::vector<std::string> folders;
    int depth = 0;
    Token key;
    Token value;
    while (tokens.Next(key)) {
        if (key.kind == '}' && depth > 0) {
            --depth;
            continue;
        }
        if (key.kind != 'w' || !tokens.Next(value) || value.kind == '}') {
            return {};
        }
        if (value.kind == '{') {
            ++depth;
        } else if (strcasecmp(key.text.c_str(), "path") == 0 ||
                   (depth == 1 && IsNumber(key.text))) {
            folders.push_back(value.text);
        }
    }
    return depth == 0 && !tokens.Broken() ? folders : std::vector<std::string>{};
}

}  // namespace rv::wine
