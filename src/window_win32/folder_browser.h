// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <string>

// The shell's folder browser behind both Open buttons.
namespace rv::win32 {

// Shows the browser (file-system folders only, starting at the desktop, nothing preselected,
// the German title, placed on the owner inside its monitor's work area) and returns the chosen
// folder's full path in UTF-8, however long, or empty text when the user cancels or the item has no
// file-system path.
std::string BrowseForFolder(HWND owner);

// What shows the browser: receives the filled request, returns the chosen item (freed by the
// caller with CoTaskMemFree) or null for a cancel. Tests answer here instead of the modal
// dialog; an empty function restores SHBrowseForFolderW.
using ShellFolderBrowser = std::function<PIDLIST_ABSOLUTE(BROWSEINFOW& request)>;
void SetShellFolderBrowser(ShellFolderBrowser browser);

}  // namespace rv::win32
