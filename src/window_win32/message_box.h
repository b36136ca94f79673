// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace rv::win32 {

// A modal box with the title and the text, one OK button and no icon, owned by the window and
// standing on it inside its monitor's work area; returns once the user has dismissed it.
void ShowMessageBox(HWND owner, std::string_view title, std::string_view text);

// What shows the box, with MessageBoxW's arguments; tests inspect and answer it here instead of
// the modal loop. An empty function restores MessageBoxW.
using MessageBoxCall =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT type)>;
void SetMessageBoxCall(MessageBoxCall call);

}  // namespace rv::win32
