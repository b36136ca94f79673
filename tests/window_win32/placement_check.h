// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <utility>

#include "form/dialog_placement.h"

namespace rv::test {

inline ScreenRect ScreenRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Empty when the window stands where a dialog of the owner belongs (centred on it inside the work
// area of its monitor, moved in where it does not fit), else "<what> at x,y, not x,y".
inline std::string Misplaced(const std::string& what, HWND window, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const ScreenRect shown = ScreenRectOf(window);
    const ScreenRect wanted =
        PlaceDialog({work.left, work.top, work.right - work.left, work.bottom - work.top},
                    ScreenRectOf(owner), shown.width, shown.height);
    const auto at = [](const ScreenRect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top);
    };
    return shown == wanted ? "" : what + " at " + at(shown) + ", not " + at(wanted);
}

namespace placement_check {
inline thread_local HWND owner = nullptr;
inline thread_local std::string what;
inline thread_local std::string found;
}  // namespace placement_check

// Runs `show`, which shows a box for real and waits for it; once it shows, notes Misplaced of it
// and presses its OK. Returns what was noted.
inline std::string ShowBoxAndClose(const std::string& what, HWND owner,
                                   const std::function<void()>& show) {
    placement_check::owner = owner;
    placement_check::what = what;
    placement_check::found = what + " never showed";
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        HWND box = GetActiveWindow();
        placement_check::found = Misplaced(placement_check::what, box, placement_check::owner);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    show();
    return std::exchange(placement_check::found, std::string());
}

// Runs the folder browser's own callback on a stand-in dialog far off the screen, as the shell
// does once its dialog is made: the stand-in's Misplaced, and whether the callback chose a
// start folder.
inline std::pair<std::string, bool> RunBrowserCallback(const BROWSEINFOW& request) {
    if (request.lpfn == nullptr) {
        return {"picker left where the shell puts it", false};
    }
    HWND stand_in = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 30000, 30000, 320, 400, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    bool start_folder = false;
    const auto chooses = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR chose) {
        if (message == BFFM_SETSELECTIONW || message == BFFM_SETEXPANDED) {
            *reinterpret_cast<bool*>(chose) = true;
        }
        return DefSubclassProc(window, message, wparam, lparam);
    };
    SetWindowSubclass(stand_in, chooses, 0, reinterpret_cast<DWORD_PTR>(&start_folder));
    request.lpfn(stand_in, BFFM_INITIALIZED, 0, request.lParam);
    std::string misplaced = Misplaced("picker", stand_in, request.hwndOwner);
    DestroyWindow(stand_in);
    return {misplaced, start_folder};
}

}  // namespace rv::test
