// SPDX-License-Identifier: MIT
#include "window_win32/box_placement.h"

#include <utility>

namespace rv::win32 {

namespace {

// The owner the next window activated on this thread is placed on; null once it is placed.
thread_local HWND next_owner = nullptr;

ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT CALLBACK PlaceOnActivation(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && next_owner != nullptr) {
        PlaceOnOwner(reinterpret_cast<HWND>(wparam), std::exchange(next_owner, nullptr));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

ScreenRect PlaceOverOwner(HWND owner, int outer_width, int outer_height) {
    RECT below{};
    GetWindowRect(owner, &below);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    return PlaceDialog(FromRect(monitor.rcWork), FromRect(below), outer_width, outer_height);
}

void PlaceOnOwner(HWND window, HWND owner) {
    RECT outer{};
    GetWindowRect(window, &outer);
    const ScreenRect place =
        PlaceOverOwner(owner, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

PlaceNextActivated::PlaceNextActivated(HWND owner)
    : hook_(SetWindowsHookExW(WH_CBT, PlaceOnActivation, nullptr, GetCurrentThreadId())),
      previous_owner_(std::exchange(next_owner, owner)) {}

PlaceNextActivated::~PlaceNextActivated() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    next_owner = previous_owner_;
}

}  // namespace rv::win32
