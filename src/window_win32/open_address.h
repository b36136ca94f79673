// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rv::win32 {

// Hands a web address to the shell, which opens it in the user's browser; returns at once.
void OpenAddress(std::string_view address);

// What opens an address; tests record here instead of starting a browser. An empty function
// restores ShellExecuteW.
using AddressOpener = std::function<void(const std::wstring& address)>;
void SetAddressOpener(AddressOpener opener);

}  // namespace rv::win32
