// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the UTF-8 texts of the platform API and the UTF-16 of Windows' wide calls.
namespace rv::platform {

// Empty when the text is not valid UTF-8: such a path or name cannot be handed to Windows
// without changing it, so the caller must refuse it rather than open something else.
std::optional<std::wstring> WideFromUtf8(std::string_view text);

// Embedded NUL characters are kept. A lone surrogate, which a Windows name may hold but UTF-8
// cannot, becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace rv::platform
