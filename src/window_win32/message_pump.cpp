// SPDX-License-Identifier: MIT
#include "window_win32/message_pump.h"

namespace rv::win32 {

namespace {

void Dispatch(HWND window, MSG& message) {
    if (!IsDialogMessageW(window, &message)) {
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
