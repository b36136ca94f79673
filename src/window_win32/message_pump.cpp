// SPDX-License-Identifier: MIT
#include "window_win32/message_pump.h"

namespace rv::win32 {

namespace {

// The menu key and Shift+F10, which open the context menu of the window with the focus.
bool IsContextMenuKey(const MSG& message) {
    const bool f10_down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    return (message.message == WM_KEYUP && message.wParam == VK_APPS) ||
           (f10_down && message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0);
}

// Tab and Enter work in the window that is active: the main window or one of its dialogs. The
// context menu's keys are turned into its message here, the same on every system: the focus is
// on a button, which would not pass them on everywhere.
void Dispatch(HWND window, MSG& message) {
    if (IsContextMenuKey(message)) {
        SendMessageW(GetAncestor(message.hwnd, GA_ROOT), WM_CONTEXTMENU,
                     reinterpret_cast<WPARAM>(message.hwnd), -1);
        return;
    }
    HWND active = GetActiveWindow();
    if (!IsDialogMessageW(active != nullptr ? active : window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int RunMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        Dispatch(window, message);
    }
    return static_cast<int>(message.wParam);
}

bool PumpPendingMessages(HWND window) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Dispatch(window, message);
    }
    return true;
}

}  // namespace rv::win32
