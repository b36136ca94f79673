// SPDX-License-Identifier: MIT
#include "window_win32/folder_browser.h"

#include <utility>
#include <vector>

#include "platform/wide_text_win.h"
#include "window_win32/box_placement.h"

namespace rv::win32 {

namespace {

// The longest path Windows names, in UTF-16 units with the NUL: far past the old 260.
constexpr DWORD kLongestPath = 32768;

ShellFolderBrowser& Browser() {
    static ShellFolderBrowser browser;
    return browser;
}

// Once the browser's dialog is made, it is placed on the owner, which the request carries.
int CALLBACK PlaceBrowser(HWND dialog, UINT message, LPARAM, LPARAM owner) {
    if (message == BFFM_INITIALIZED) {
        PlaceOnOwner(dialog, reinterpret_cast<HWND>(owner));
    }
    return 0;
}

PIDLIST_ABSOLUTE ShowBrowser(BROWSEINFOW& request) {
    const ShellFolderBrowser& browser = Browser();
    return browser ? browser(request) : SHBrowseForFolderW(&request);
}

}  // namespace

std::string BrowseForFolder(HWND owner) {
    static constexpr wchar_t kTitle[] = L"Bitte den Startordner w\u00e4hlen!";
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.lpszTitle = kTitle;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = PlaceBrowser;
    request.lParam = reinterpret_cast<LPARAM>(owner);
    PIDLIST_ABSOLUTE chosen = ShowBrowser(request);
    if (chosen == nullptr) {
        return {};
    }
    std::vector<wchar_t> path(kLongestPath, L'\0');
    const bool has_path =
        SHGetPathFromIDListEx(chosen, path.data(), kLongestPath, GPFIDL_DEFAULT) != FALSE;
    CoTaskMemFree(chosen);
    return has_path ? platform::Utf8FromWide(path.data()) : std::string();
}

void SetShellFolderBrowser(ShellFolderBrowser browser) {
    Browser() = std::move(browser);
}

}  // namespace rv::win32
