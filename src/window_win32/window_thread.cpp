// SPDX-License-Identifier: MIT
#include "window_win32/window_thread.h"

#include <commctrl.h>
#include <ole2.h>

namespace rv::win32 {

WindowThread::WindowThread() : ole_(OleInitialize(nullptr)) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
}

WindowThread::~WindowThread() {
    if (SUCCEEDED(ole_)) {
        OleUninitialize();
    }
}

}  // namespace rv::win32
