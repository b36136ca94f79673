// SPDX-License-Identifier: MIT
#include <windows.h>

#include <optional>
#include <string>

#include "platform/absolute_path.h"
#include "platform/wide_text_win.h"

namespace rv::platform {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

}  // namespace

// The system's own rule: GetFullPathNameW keeps UNC and \\?\ paths, knows each drive's working
// folder and turns '/' into '\'.
std::string AbsolutePath(const std::string& path) {
    const std::optional<std::wstring> given = WideFromUtf8(path);
    if (!given || given->empty()) {
        return path;
    }
    const std::wstring& wide = *given;
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) {
        return path;
    }
    full.resize(length);
    while (full.size() > 1 && IsSeparator(full.back()) && full[full.size() - 2] != L':') {
        full.pop_back();
    }
    return Utf8FromWide(full);
}

}  // namespace rv::platform
