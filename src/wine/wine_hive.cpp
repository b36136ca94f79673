// SPDX-License-Identifier: MIT
#include "wine/wine_hive.h"

#include <algorithm>
#include <utility>

#include "text/case_fold.h"
#include "text/text.h"

namespace rv::wine {

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool RestIsBlank(std::string_view line, std::size_t i) {
    return std::all_of(line.begin() + static_cast<std::ptrdiff_t>(std::min(i, line.size())),
                       line.end(), IsBlank);
}

std::string Utf16ToUtf8(const std::u16string& units) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return Utf16LeToUtf8(bytes.data(), bytes.size());
}

// Decodes one UTF-8 sequence at line[i] into UTF-16 units. Wine writes only ASCII, but a
// hand-edited file may hold raw UTF-8; a byte that starts no valid sequence is taken as Latin-1.
void AppendRawChar(std::string_view line, std::size_t& i, std::u16string& out) {
    const text::DecodedChar decoded = text::DecodeUtf8(line, i);
    i += decoded.length;
    char32_t cp = decoded.code_point;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

// The character a letter escape stands for (\a \b \e \f \n \r \t \v); 0 for any other letter.
char16_t LetterEscape(char e) {
    switch (e) {
        case 'a':
            return u'\a';
        case 'b':
            return u'\b';
        case 'e':
            return char16_t{0x1B};
        case 'f':
            return u'\f';
        case 'n':
            return u'\n';
        case 'r':
            return u'\r';
        case 't':
            return u'\t';
        case 'v':
            return u'\v';
        default:
            return 0;
    }
}

// Reads the rest of the escape whose character e was just taken; leaves i behind it.
void ParseEscape(std::string_view line, std::size_t& i, char e, std::u16string& out) {
    if (const char16_t letter = LetterEscape(e)) {
        out += letter;
    } else if (e == 'x') {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && i < line.size() && HexDigit(line[i]) >= 0) {
            value = value * 16 + static_cast<unsigned>(HexDigit(line[i++]));
            ++digits;
        }
        out += digits == 0 ? u'x' : static_cast<char16_t>(value);
    } else if (e >= '0' && e <= '7') {
        unsigned value = static_cast<unsigned>(e - '0');
        for (int digits = 1; digits < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7';
             ++digits) {
            value = value * 8 + static_cast<unsigned>(line[i++] - '0');
        }
        out += static_cast<char16_t>(value);
    } else if (static_cast<unsigned char>(e) < 0x80) {
        out += static_cast<char16_t>(e);
    } else {
        --i;
        AppendRawChar(line, i, out);
    }
}

// Reads an escaped text that starts at line[i] and ends at the unescaped terminator, with the
// escapes Wine writes: \\ \" \[ \] (any other character stands for itself), \a \b \e \f \n \r
// \t \v, up to three octal digits, and \x with up to four hex digits giving one UTF-16 unit.
// Leaves i behind the terminator; false when the line ends first.
bool ParseEscaped(std::string_view line, std::size_t& i, char terminator, std::u16string& out) {
    while (i < line.size()) {
        const char c = line[i];
        if (c == terminator) {
            ++i;
            return true;
        }
        if (c == '\\') {
            if (++i >= line.size()) {
                return false;
            }
            const char e = line[i++];
            ParseEscape(line, i, e, out);
        } else if (static_cast<unsigned char>(c) < 0x80) {
            out += static_cast<char16_t>(c);
            ++i;
        } else {
            AppendRawChar(line, i, out);
        }
    }
    return false;
}

// Reads an escaped name up to its terminator as UTF-8 folded to lower case. Names of plain ASCII
// whose only escapes are \\ \" \[ \], nearly all of them, are copied directly; the rest go
// through ParseEscaped.
bool ParseName(std::string_view line, std::size_t& i, char terminator, std::string& out) {
    out.clear();
    for (std::size_t j = i; j < line.size(); ++j) {
        char c = line[j];
        if (c == terminator) {
            i = j + 1;
            return true;
        }
        if (c == '\\' && j + 1 < line.size()) {
            c = line[j + 1];
            if (c != '\\' && c != '"' && c != '[' && c != ']') {
                break;
            }
            ++j;
        } else if (c == '\\' || static_cast<unsigned char>(c) >= 0x80) {
            break;
        }
        out += text::FoldAsciiChar(c);
    }
    std::u16string units;
    if (!ParseEscaped(line, i, terminator, units)) {
        return false;
    }
    out = text::FoldUtf8(Utf16ToUtf8(units));
    return true;
}

void AppendUtf16Le(std::vector<std::uint8_t>& data, const std::u16string& units) {
    std::size_t at = data.size();
    data.resize(at + 2 * units.size());
    for (char16_t u : units) {
        data[at++] = static_cast<std::uint8_t>(u & 0xFF);
        data[at++] = static_cast<std::uint8_t>(u >> 8);
    }
}

// Reads up to max_digits hex digits at line[i]; false when there is none.
bool ParseHexNumber(std::string_view line, std::size_t& i, int max_digits, std::uint32_t& value) {
    value = 0;
    int digits = 0;
    while (i < line.size() && HexDigit(line[i]) >= 0) {
        if (++digits > max_digits) {
            return false;
        }
        value = value * 16 + static_cast<std::uint32_t>(HexDigit(line[i++]));
    }
    return digits > 0;
}

enum class HexLine { Done, Continued, Bad };

// Reads the comma-separated bytes of one line of a hex list; a trailing backslash continues
// the list on the next line.
HexLine ParseHexBytes(std::string_view line, std::size_t i, std::vector<std::uint8_t>& data) {
    while (true) {
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            return HexLine::Done;
        }
        if (line[i] == '\\') {
            return RestIsBlank(line, i + 1) ? HexLine::Continued : HexLine::Bad;
        }
        std::uint32_t byte = 0;
        if (!ParseHexNumber(line, i, 2, byte)) {
            return HexLine::Bad;
        }
        data.push_back(static_cast<std::uint8_t>(byte));
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            return HexLine::Done;
        }
        if (line[i] == ',') {
            ++i;
        } else if (line[i] != '\\') {
            return HexLine::Bad;
        }
    }
}

}  // namespace

class HiveParser {
public:
    explicit HiveParser(std::string_view text) : text_(text) {}
    // Keeps only the key that a 32-bit program sees at path, and notes its sub-keys.
    HiveParser(std::string_view text, std::string_view path, HiveArch arch_if_unmarked)
        : text_(text), only_path_(path), arch_if_unmarked_(arch_if_unmarked), only_key_(true) {}

    std::optional<WineHive> Run() {
        std::string_view first;
        if (!NextLine(first) || first != kHeader) {
            return std::nullopt;
        }
        std::string_view line;
        while (!done_ && (!only_key_ || current_ != nullptr || !seen_section_ || SkipToSection()) &&
               NextLine(line)) {
            std::size_t i = 0;
            while (i < line.size() && IsBlank(line[i])) {
                ++i;
            }
            if (i >= line.size() || line[i] == ';') {
                continue;
            }
            const char lead = line[i];
            if (lead == '[') {
                OpenSection(line, i + 1);
            } else if (lead == '#') {
                ReadOption(line.substr(i));
            } else if ((lead == '@' || lead == '"') && current_ != nullptr) {
                if (!ReadValue(line, i)) {
                    ++hive_.skipped_lines_;
                }
            } else {
                ++hive_.skipped_lines_;
            }
        }
        return std::move(hive_);
    }

private:
    // Outside the wanted key only section lines matter: moves to the next line whose first
    // character other than a blank is '['. False when there is none.
    bool SkipToSection() {
        while (pos_ < text_.size()) {
            const std::size_t bracket = text_.find('[', pos_);
            if (bracket == std::string_view::npos) {
                break;
            }
            std::size_t start = bracket;
            while (start > pos_ && IsBlank(text_[start - 1])) {
                --start;
            }
            if (start == pos_ || text_[start - 1] == '\n') {
                pos_ = start;
                return true;
            }
            pos_ = std::min(text_.find('\n', bracket), text_.size() - 1) + 1;
        }
        pos_ = text_.size();
        return false;
    }

    bool NextLine(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return true;
    }

    void OpenSection(std::string_view line, std::size_t i) {
        // One buffer for every name: most sections are passed over when only one key is wanted.
        std::string& name = section_name_;
        if (!ParseName(line, i, ']', name)) {
            current_ = nullptr;
            ++hive_.skipped_lines_;
            return;
        }
        if (!seen_section_ && only_key_) {
            if (hive_.arch_ == HiveArch::Unknown) {
                hive_.arch_ = arch_if_unmarked_;
            }
            wanted_ = WineHive::ThirtyTwoBitView(only_path_, hive_.arch_);
        }
        seen_section_ = true;
        // The name is folded already; only empty parts may keep it from being canonical.
        if (name.empty() || name.front() == '\\' || name.back() == '\\' ||
            name.find("\\\\") != std::string::npos) {
            name = WineHive::NormalizeKeyPath(name);
        }
        if (!only_key_ || name == wanted_) {
            current_ = &hive_.keys_[name];
            return;
        }
        // Past the wanted key's section there is nothing more to read.
        done_ = current_ != nullptr;
        current_ = nullptr;
        if (name.size() > wanted_.size() && name[wanted_.size()] == '\\' &&
            StartsWith(name, wanted_)) {
            hive_.keys_[name];
        }
    }

    // "#arch=" before the first section tells the prefix's kind; "#time=", "#class=" and the
    // like belong to a key and say nothing about its values.
    void ReadOption(std::string_view option) {
        if (seen_section_) {
            return;
        }
        if (option == "#arch=win64") {
            hive_.arch_ = HiveArch::Win64;
        } else if (option == "#arch=win32") {
            hive_.arch_ = HiveArch::Win32;
        }
    }

    bool ReadValue(std::string_view line, std::size_t i) {
        std::string name;
        if (line[i] == '@') {
            ++i;
        } else if (!ParseName(line, ++i, '"', name)) {
            return false;
        }
        if (i >= line.size() || line[i] != '=') {
            return false;
        }
        ++i;
        HiveValue value;
        if (!ReadData(line, i, value)) {
            return false;
        }
        current_->values[std::move(name)] = std::move(value);
        return true;
    }

    bool ReadData(std::string_view line, std::size_t i, HiveValue& value) {
        const std::string_view rest = line.substr(i);
        struct TextForm {
            std::string_view prefix;
            std::uint32_t type;
        };
        static constexpr TextForm kTextForms[] = {
            {"\"", 1}, {"str:\"", 1}, {"str(2):\"", 2}, {"str(7):\"", 7}};
        for (const auto& form : kTextForms) {
            if (StartsWith(rest, form.prefix)) {
                std::u16string text;
                std::size_t j = i + form.prefix.size();
                if (!ParseEscaped(line, j, '"', text) || !RestIsBlank(line, j)) {
                    return false;
                }
                text += u'\0';
                value.type = form.type;
                AppendUtf16Le(value.data, text);
                return true;
            }
        }
        if (StartsWith(rest, "dword:")) {
            std::size_t j = i + 6;
            std::uint32_t number = 0;
            if (!ParseHexNumber(line, j, 8, number) || !RestIsBlank(line, j)) {
                return false;
            }
            value.type = 4;
            for (int shift = 0; shift < 32; shift += 8) {
                value.data.push_back(static_cast<std::uint8_t>((number >> shift) & 0xFF));
            }
            return true;
        }
        std::size_t j = i;
        if (StartsWith(rest, "hex:")) {
            value.type = 3;
            j += 4;
        } else if (StartsWith(rest, "hex(")) {
            j += 4;
            if (!ParseHexNumber(line, j, 8, value.type) || line.substr(j, 2) != "):") {
                return false;
            }
            j += 2;
        } else {
            return false;
        }
        return ReadHexList(line, j, value.data);
    }

    bool ReadHexList(std::string_view line, std::size_t i, std::vector<std::uint8_t>& data) {
        while (true) {
            switch (ParseHexBytes(line, i, data)) {
                case HexLine::Done:
                    return true;
                case HexLine::Bad:
                    return false;
                case HexLine::Continued:
                    if (!NextLine(line)) {
                        return false;  // the file ends inside the list
                    }
                    i = 0;
                    break;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    WineHive hive_;
    HiveKey* current_ = nullptr;
    bool seen_section_ = false;
    std::string_view only_path_;
    HiveArch arch_if_unmarked_ = HiveArch::Unknown;
    bool only_key_ = false;
    std::string wanted_;
    bool done_ = false;
    std::string section_name_;
};

std::optional<WineHive> WineHive::Parse(std::string_view text) {
    return HiveParser(text).Run();
}

std::optional<WineHive> WineHive::ParseForKey(std::string_view text, std::string_view path,
                                              HiveArch arch_if_unmarked) {
    return HiveParser(text, path, arch_if_unmarked).Run();
}

std::string WineHive::ThirtyTwoBitView(std::string_view path, HiveArch arch) {
    std::string normalized = NormalizeKeyPath(path);
    constexpr std::string_view kSoftware = "software";
    if (arch != HiveArch::Win64 || !StartsWith(normalized, kSoftware) ||
        (normalized.size() > kSoftware.size() && normalized[kSoftware.size()] != '\\')) {
        return normalized;
    }
    const std::string_view rest = std::string_view(normalized).substr(kSoftware.size());
    if (rest == "\\wow6432node" || StartsWith(rest, "\\wow6432node\\")) {
        return normalized;
    }
    return std::string(kSoftware) + "\\wow6432node" + std::string(rest);
}

std::string WineHive::NormalizeKeyPath(std::string_view path) {
    std::string normalized;
    normalized.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) {
            if (!normalized.empty()) {
                normalized += '\\';
            }
            normalized += text::FoldUtf8(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return normalized;
}

const HiveKey* WineHive::FindKey(std::string_view path) const {
    const auto it = keys_.find(NormalizeKeyPath(path));
    return it == keys_.end() ? nullptr : &it->second;
}

bool WineHive::KeyExists(std::string_view path) const {
    const std::string normalized = NormalizeKeyPath(path);
    if (normalized.empty() || keys_.count(normalized) != 0) {
        return true;
    }
    const std::string parent = normalized + '\\';
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const auto& entry) { return StartsWith(entry.first, parent); });
}

const HiveValue* WineHive::FindValue(const HiveKey& key, std::string_view name) {
    const auto it = key.values.find(text::FoldUtf8(name));
    return it == key.values.end() ? nullptr : &it->second;
}

std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve(size);
    const std::size_t units = size / 2;
    auto unit = [&](std::size_t k) {
        return static_cast<char32_t>(data[2 * k] | (data[2 * k + 1] << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
            unit(k + 1) <= 0xDFFF) {
            text::AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
            ++k;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            text::AppendUtf8(out, 0xFFFD);
        } else {
            text::AppendUtf8(out, u);
        }
    }
    return out;
}

}  // namespace rv::wine
