// SPDX-License-Identifier: MIT
#include "window_win32/open_address.h"

#include <windows.h>

#include <shellapi.h>

#include <utility>

#include "platform/wide_text_win.h"

namespace rv::win32 {

namespace {

AddressOpener& Opener() {
    static AddressOpener opener;
    return opener;
}

}  // namespace

void OpenAddress(std::string_view address) {
    const std::wstring wide = platform::WideFromUtf8(address).value_or(std::wstring());
    if (const AddressOpener& opener = Opener()) {
        opener(wide);
    } else {
        ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void SetAddressOpener(AddressOpener opener) {
    Opener() = std::move(opener);
}

}  // namespace rv::win32
